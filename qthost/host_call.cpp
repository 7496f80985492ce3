#include "qthost/host_call.h"

#include <QEventLoop>
#include <QTimer>
#include <atomic>
#include <memory>
#include <stdexcept>

#include "platform/toolkit/program_state.h"
#include "platform/view/qt/qt_view.h"
#include "wevo/runtime.h"

namespace wevo::qthost {

namespace {

struct Ticket {
  std::atomic<bool> started{false};
  std::atomic<bool> done{false};
  QEventLoop* loop = nullptr;  // Qt thread only
};

// Tells the waiting Qt thread that the work is over, once every change it
// sent the view is on the widgets (the view runs its tasks in order).
class Finished {
 public:
  Finished(qtview::QtView& view, std::shared_ptr<Ticket> ticket) : view_(view), ticket_(std::move(ticket)) {}
  ~Finished() {
    std::shared_ptr<Ticket> t = ticket_;
    const bool told = view_.onQtThread([t] {
      t->done.store(true);
      if (t->loop != nullptr) t->loop->quit();
    });
    if (!told) t->done.store(true);  // the view has stopped: the poll below sees it
  }
  Finished(const Finished&) = delete;
  Finished& operator=(const Finished&) = delete;

 private:
  qtview::QtView& view_;
  std::shared_ptr<Ticket> ticket_;
};

}  // namespace

bool runOnHostThread(qtview::QtView& view, std::function<void()> work) {
  std::shared_ptr<toolkit::Program> program = toolkit::Program::current();
  if (!program || program->ending()) return false;
  auto ticket = std::make_shared<Ticket>();
  QEventLoop loop;
  ticket->loop = &loop;
  try {
    wevo::start([&view, ticket, work = std::move(work)] {
      ticket->started.store(true);
      Finished finished(view, ticket);
      work();
    });
  } catch (const std::logic_error&) {
    return false;
  }
  // A program that ended before the thread ran never runs it.
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    if (ticket->done.load() || (program->ending() && !ticket->started.load())) loop.quit();
  });
  poll.start(100);
  while (!ticket->done.load() && !(program->ending() && !ticket->started.load())) {
    loop.exec();
    if (!ticket->done.load() && !program->ending()) {
      // Not our quit: the application is quitting under the call. The
      // work (design mode waiting for the user) cannot finish now.
      program->endFailed("the Qt application quit while wevo worked on one of its windows");
    }
  }
  ticket->loop = nullptr;
  return ticket->started.load();
}

}  // namespace wevo::qthost
