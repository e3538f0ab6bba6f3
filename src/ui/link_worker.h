#pragma once
// Runs one short exchange (the link check, an immediate write) off the window's thread and
// hands the result back on it, so the window keeps repainting while the line is slow.
// One job at a time; the caller checks busy() first.
#include <QObject>
#include <atomic>
#include <functional>
#include <thread>

namespace zelmot::ui {

class LinkWorker final : public QObject {
  Q_OBJECT

public:
  explicit LinkWorker(QObject* parent = nullptr) : QObject(parent) {}
  // Waits for a running job: stop the line first so that it ends quickly.
  ~LinkWorker() override;

  bool busy() const { return busy_.load(); }
  // Runs `job` on a worker thread, then `done` on this object's thread. False when busy.
  bool run(std::function<void()> job, std::function<void()> done);
  // Blocks until the running job (if any) has ended; `done` is still delivered later.
  void join();

signals:
  void busyChanged(bool busy);

private:
  std::atomic<bool> busy_{false};
  std::thread thread_;
};

}  // namespace zelmot::ui
