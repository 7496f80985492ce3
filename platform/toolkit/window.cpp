#include "wevo/window.h"

#include <algorithm>

#include "platform/toolkit/event_loop.h"
#include "platform/toolkit/program_state.h"
#include "platform/toolkit/window_model.h"
#include "wevo/props.h"

namespace wevo {

using toolkit::WindowModel;

Window::Window(WindowDecl decl) : model_(std::make_unique<WindowModel>(this, std::move(decl))) {}

Window::~Window() { toolkit::closeWindow(*model_); }

Window* Window::fromHandle(int64_t handle) {
  std::shared_ptr<toolkit::Program> p = toolkit::Program::current();
  if (!p) return nullptr;
  std::lock_guard<std::mutex> lock(p->mu);
  WindowModel* m = p->byHandleLocked(handle);
  return m != nullptr ? m->window() : nullptr;
}

void Window::open() { toolkit::openWindow(*model_); }
void Window::close() { toolkit::closeWindow(*model_); }
bool Window::isOpen() const { return model_->open; }
bool Window::accept() { return toolkit::acceptEvent(*model_); }
void Window::cycle() { model_->loop->cycled = true; }
void Window::post(int event, int field) { toolkit::postEvent(*model_, event, field); }

Value Window::get(int field, int32_t prop) const { return model_->get(field, prop, -1); }
Value Window::get(int field, int32_t prop, int index) const { return model_->get(field, prop, index); }
void Window::set(int field, int32_t prop, const Value& value) { model_->set(field, prop, -1, value); }
void Window::set(int field, int32_t prop, int index, const Value& value) { model_->set(field, prop, index, value); }

int Window::firstField() const { return model_->firstField(); }
int Window::lastField() const { return model_->lastField(); }
bool Window::exists(int field) const { return model_->find(field) != nullptr; }
std::string Window::label(int field) const { return model_->label(field); }
int Window::fieldOf(std::string_view label) const { return model_->fieldOf(label); }

int Window::create(int field, int type, int parent) {
  if (!model_->open) return 0;
  return model_->create(field, type, parent);
}
void Window::destroy(int field) { model_->destroy(field); }

void Window::hide(int field) { set(field, PROP::Hide, 1); }
void Window::unhide(int field) { set(field, PROP::Hide, 0); }
void Window::enable(int field) { set(field, PROP::Disable, 0); }
void Window::disable(int field) { set(field, PROP::Disable, 1); }
void Window::select(int field) { toolkit::selectControl(*model_, field); }
int Window::focused() const { return model_->focus(); }

void Window::display(int field) {
  model_->display(field);
  // A thread that keeps redisplaying (a progress window) is getting things done.
  if (std::shared_ptr<toolkit::Program> p = toolkit::Program::current()) p->progress();
}
void Window::update(int field) {
  if (field == 0)
    model_->updateAll();
  else
    model_->update(field);
}
void Window::acceptAll() { toolkit::startAcceptAll(*model_); }

void Window::bind(int field, Binding binding) { model_->bind(field, binding); }
void Window::setList(int field, const ListSource* source) { model_->setList(field, source); }
int Window::selection(int field) const { return model_->selection(field); }
void Window::setSelection(int field, int row) { model_->setSelection(field, row); }

void Window::getPosition(int field, int& x, int& y, int& w, int& h) const { model_->getPosition(field, x, y, w, h); }
void Window::setPosition(int field, int x, int y, int w, int h) { model_->setPosition(field, x, y, w, h); }

int Window::registerHandler(int event, Handler handler) {
  toolkit::LoopState& L = *model_->loop;
  int id = L.nextHandlerId++;
  L.handlers.push_back(toolkit::LoopState::Handler{id, event, std::move(handler)});
  return id;
}

void Window::unregisterHandler(int id) {
  auto& hs = model_->loop->handlers;
  hs.erase(std::remove_if(hs.begin(), hs.end(), [id](const toolkit::LoopState::Handler& h) { return h.id == id; }),
           hs.end());
}

int64_t Window::handle() const { return model_->handle.load(); }
toolkit::WindowModel& Window::model() const { return *model_; }

}  // namespace wevo
