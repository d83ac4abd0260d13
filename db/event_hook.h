// An event filter that hands every event of the watched objects to a
// function; the window uses it for focus, click and key notifications of
// controls that have no signal for them. Returning true eats the event.
#pragma once

#include <QObject>

#include <functional>
#include <utility>

namespace db {

class EventHook : public QObject {
  public:
    using Handler = std::function<bool(QObject* watched, QEvent* event)>;

    EventHook(QObject* parent, Handler handler) : QObject(parent), handler_(std::move(handler)) {}

    void watch(QObject* object) { object->installEventFilter(this); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override { return handler_(watched, event); }

  private:
    Handler handler_;
};

}  // namespace db
