#include "wevo/window.h"

#include <algorithm>

#include "platform/toolkit/event_loop.h"
#include "platform/toolkit/program_state.h"
#include "platform/toolkit/window_model.h"
#include "wevo/props.h"

namespace wevo {

using toolkit::WindowModel;

Window::Window(WindowDecl decl) : impl_(std::make_unique<Impl>(this, std::move(decl))) {}

Window::~Window() { toolkit::closeWindow(impl_->model); }

Window* Window::fromHandle(int64_t handle) {
  std::shared_ptr<toolkit::Program> p = toolkit::Program::current();
  if (!p) return nullptr;
  std::lock_guard<std::mutex> lock(p->mu);
  WindowModel* m = p->byHandleLocked(handle);
  return m != nullptr ? m->window() : nullptr;
}

void Window::open() { toolkit::openWindow(impl_->model); }
void Window::close() { toolkit::closeWindow(impl_->model); }
bool Window::isOpen() const { return impl_->model.isOpen(); }
bool Window::accept() { return toolkit::acceptEvent(impl_->model); }
void Window::cycle() { impl_->model.loop().cycled = true; }
void Window::post(int event, int field) { toolkit::postEvent(impl_->model, event, field); }

Value Window::get(int field, int32_t prop) const { return impl_->model.get(field, prop, -1); }
Value Window::get(int field, int32_t prop, int index) const { return impl_->model.get(field, prop, index); }
void Window::set(int field, int32_t prop, const Value& value) { impl_->model.set(field, prop, -1, value); }
void Window::set(int field, int32_t prop, int index, const Value& value) {
  impl_->model.set(field, prop, index, value);
}

int Window::firstField() const { return impl_->model.controls().firstField(); }
int Window::lastField() const { return impl_->model.controls().lastField(); }
bool Window::exists(int field) const { return impl_->model.controls().find(field) != nullptr; }
std::string Window::label(int field) const { return impl_->model.controls().label(field); }
int Window::fieldOf(std::string_view label) const { return impl_->model.controls().fieldOf(label); }

int Window::create(int field, int type, int parent) {
  if (!impl_->model.isOpen()) return 0;
  return impl_->model.create(field, type, parent);
}
void Window::destroy(int field) { impl_->model.destroy(field); }

void Window::hide(int field) { set(field, PROP::Hide, 1); }
void Window::unhide(int field) { set(field, PROP::Hide, 0); }
void Window::enable(int field) { set(field, PROP::Disable, 0); }
void Window::disable(int field) { set(field, PROP::Disable, 1); }
void Window::select(int field) { toolkit::selectControl(impl_->model, field); }
int Window::focused() const { return impl_->model.focusOrder().focus(); }

void Window::display(int field) {
  impl_->model.values().display(field);
  // A thread that keeps redisplaying (a progress window) is getting things done.
  if (std::shared_ptr<toolkit::Program> p = toolkit::Program::current()) p->progress();
}
void Window::update(int field) {
  if (field == 0)
    impl_->model.values().updateAll();
  else
    impl_->model.values().update(field);
}
void Window::acceptAll() { toolkit::startAcceptAll(impl_->model); }

void Window::bind(int field, Binding binding) { impl_->model.values().bind(field, binding); }
void Window::setList(int field, const ListSource* source) { impl_->model.values().setList(field, source); }
int Window::selection(int field) const { return impl_->model.values().selection(field); }
void Window::setSelection(int field, int row) { impl_->model.values().setSelection(field, row); }

void Window::getPosition(int field, int& x, int& y, int& w, int& h) const {
  impl_->model.getPosition(field, x, y, w, h);
}
void Window::setPosition(int field, int x, int y, int w, int h) { impl_->model.setPosition(field, x, y, w, h); }

int Window::registerHandler(int event, Handler handler) {
  toolkit::LoopState& L = impl_->model.loop();
  int id = L.nextHandlerId++;
  L.handlers.push_back(toolkit::LoopState::Handler{id, event, std::move(handler)});
  return id;
}

void Window::unregisterHandler(int id) {
  auto& hs = impl_->model.loop().handlers;
  hs.erase(std::remove_if(hs.begin(), hs.end(), [id](const toolkit::LoopState::Handler& h) { return h.id == id; }),
           hs.end());
}

int64_t Window::handle() const { return impl_->model.handle(); }

}  // namespace wevo
