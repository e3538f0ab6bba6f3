#include "ui/link_worker.h"

namespace zelmot::ui {

LinkWorker::~LinkWorker() { join(); }

void LinkWorker::join() {
  if (thread_.joinable()) thread_.join();
}

bool LinkWorker::run(std::function<void()> job, std::function<void()> done) {
  if (busy_.exchange(true)) return false;
  join();  // the previous job has ended; reclaim its thread
  emit busyChanged(true);
  thread_ = std::thread([this, job = std::move(job), done = std::move(done)]() mutable {
    job();
    QMetaObject::invokeMethod(
        this,
        [this, done = std::move(done)] {
          busy_.store(false);
          emit busyChanged(false);
          if (done) done();
        },
        Qt::QueuedConnection);
  });
  return true;
}

}  // namespace zelmot::ui
