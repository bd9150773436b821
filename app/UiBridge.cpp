#include "app/UiBridge.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace kestrova::app {

UiBridge::UiBridge(MainState& state, Apply apply)
    : state_(state), shared_(std::make_shared<Shared>()) {
    shared_->apply = std::move(apply);
    // The listener holds the shared token, not the bridge: a writer that copied the listener
    // list before the bridge unsubscribed may still call it afterwards.
    subscription_ =
        state_.subscribe([shared = shared_](MainField field) { changed(shared, field); });
}

UiBridge::~UiBridge() {
    state_.unsubscribe(subscription_);
    shared_->apply = nullptr;
}

void UiBridge::changed(const std::shared_ptr<Shared>& shared, MainField field) {
    shared->dirty.fetch_or(FieldSet::bit(field));
    if (shared->posted.exchange(true))
        return;
    const std::weak_ptr<Shared> weak = shared;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [weak] {
            if (const auto alive = weak.lock())
                alive->deliver();
        },
        Qt::QueuedConnection);
}

void UiBridge::Shared::deliver() {
    posted.store(false);
    const FieldSet changed(dirty.exchange(0));
    if (!apply || changed.empty())
        return;
    ++deliveries;
    apply(changed);
}

} // namespace kestrova::app
