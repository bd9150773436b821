// The reply framer on any byte stream, fed as the comms thread feeds it: byte by byte, taking
// every complete frame off the front and skipping a byte the framer cannot place, as the
// session resynchronises. The framer's answers must agree with its own buffer.
#include "link/ReplyFramer.h"

#include <cstdlib>

namespace {

using kestrova::ReplyFramer;

void require(bool condition) {
    if (!condition)
        std::abort();
}

// Takes every frame the buffer holds off its front; a frame whose check fails or whose code
// nobody sends gives up its first byte, as a resynchronisation does.
void drain(ReplyFramer& framer) {
    while (const auto reply = framer.front()) {
        require(reply->bytes.size() == framer.size());
        require(reply->code == framer.bytes()[0]);
        if (!reply->complete) {
            require(framer.awaited() > 0);
            return;
        }
        require(framer.awaited() == 0);
        require(reply->row == nullptr || reply->bytes.size() >= reply->row->needs);
        const std::size_t before = framer.size();
        if (reply->row && reply->checkOk) {
            require(reply->length > 0 && reply->length <= before);
            if (reply->row->length >= 8)
                static_cast<void>(reply->record());
            static_cast<void>(reply->computedCheck());
            framer.remove(reply->length);
        } else {
            framer.remove(1);
        }
        require(framer.size() < before);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ReplyFramer framer;
    for (std::size_t i = 0; i < size; ++i) {
        const bool kept = framer.push(data[i]);
        require(framer.size() <= ReplyFramer::kCapacity);
        if (!kept)
            require(framer.empty());
        if (framer.endsWithAnnouncement())
            require(framer.holdsAnnouncement());
        // Every few bytes the session's parser runs, as between the polls of a wait.
        if (i % 3 == 2)
            drain(framer);
    }
    drain(framer);
    return 0;
}
