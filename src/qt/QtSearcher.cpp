#include "QtSearcher.h"

#include <QMetaObject>
#include <QPointer>

#include <thread>
#include <utility>

namespace daro::qt {

void QtSearcher::think(const SearchRequest& request, std::function<void(std::optional<ChosenMove>)> done) {
    // The thread owns copies only; leaving the program ends it with the process.
    QPointer<QObject> receiver(this);
    std::thread([request, done = std::move(done), receiver]() mutable {
        const std::optional<ChosenMove> chosen = daro::think(request);
        if (!receiver) return;
        QMetaObject::invokeMethod(
            receiver.data(), [done = std::move(done), chosen] { done(chosen); }, Qt::QueuedConnection);
    }).detach();
}

}  // namespace daro::qt
