// The message table: texts 1 to 200 that the program shows or prints, English defaults for
// 1 to 114, the rest from the language file. Standard library only.
#pragma once

#include <array>
#include <shared_mutex>
#include <string>
#include <vector>

namespace kestrova {

class MessageTable {
public:
    static constexpr int kCount = 200;

    MessageTable() = default;
    MessageTable(const MessageTable& other);
    MessageTable& operator=(const MessageTable& other);

    // The text of entry 1..200; the empty text for an entry never filled or out of range.
    // A copy: the comms thread reads texts while the preferences window may load a language.
    std::string MessageText(int number) const;
    void setText(int number, std::string text);

    // The English defaults of entries 1 to 114; 115 to 120 set empty.
    void SetDefaultMessages();

    // Entries first..last as a list (index 0 holds entry `first`), as the PDF builder takes them.
    std::vector<std::string> range(int first, int last) const;

private:
    mutable std::shared_mutex mutex_;
    std::array<std::string, kCount + 1> texts_{}; // index 0 unused
};

} // namespace kestrova
