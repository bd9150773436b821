// The one way the shared main-window state reaches widgets. Changes may come from any thread
// (the comms thread writes the gauge once per byte); the bridge marks what changed and posts
// one delivery to the user-interface thread, so however many changes arrive, the window is
// updated at most once per turn of the event loop, from a fresh read of the state. The
// delivery goes through the application object and a shared token: once the bridge is gone
// (the window closed), a delivery still queued finds nothing and does nothing. Qt Core.
#pragma once

#include "core/MainState.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

namespace kestrova::app {

// The set of fields that changed since the last delivery.
class FieldSet {
public:
    explicit FieldSet(std::uint32_t bits = 0) : bits_(bits) {}
    bool contains(MainField field) const { return (bits_ & bit(field)) != 0; }
    bool empty() const { return bits_ == 0; }
    static std::uint32_t bit(MainField field) { return 1U << static_cast<unsigned>(field); }

private:
    std::uint32_t bits_;
};

class UiBridge {
public:
    using Apply = std::function<void(const FieldSet& changed)>;

    // `apply` runs on the user-interface thread.
    UiBridge(MainState& state, Apply apply);
    // Unsubscribes; deliveries still queued do nothing.
    ~UiBridge();
    UiBridge(const UiBridge&) = delete;
    UiBridge& operator=(const UiBridge&) = delete;

    // Deliveries made so far (for the tests: one per event-loop turn at most).
    int deliveries() const { return shared_->deliveries; }

private:
    struct Shared {
        std::atomic<std::uint32_t> dirty{0};
        std::atomic<bool> posted{false};
        Apply apply; // cleared when the bridge goes, on the user-interface thread
        int deliveries = 0;
        void deliver();
    };
    static void changed(const std::shared_ptr<Shared>& shared, MainField field);

    MainState& state_;
    std::shared_ptr<Shared> shared_;
    int subscription_;
};

} // namespace kestrova::app
