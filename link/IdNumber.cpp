// The Id number window's actions on the shared state.
#include "link/IdNumber.h"

namespace kestrova {

namespace {
constexpr int kIdLabelPrefix = 10; // "Id :"

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
} // namespace

bool idMaskAccepts(std::size_t position, char c) {
    if (position == 0)
        return isDigit(c) || isLetter(c);
    return position < kIdNumberLength && isDigit(c);
}

bool isIdNumber(const std::string& text) {
    if (text.size() != kIdNumberLength)
        return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!idMaskAccepts(i, text[i]))
            return false;
    return true;
}

bool IdNumberOk(MainState& state, AdminLog& adminLog, const MessageTable& messages,
                const std::string& field, IdEntry entry) {
    if (!isIdNumber(field))
        return false;
    if (entry == IdEntry::OkButton)
        adminLog.WriteAdminLog("unknown", "Id of Baton changed to " + field);
    state.setLabelText(Label::Id, messages.MessageText(kIdLabelPrefix) + " " + field);
    state.setIdFieldText(field);
    state.setIdToSet(field);
    state.setAutoIncrementId(entry == IdEntry::TildeKey);
    return true;
}

void IdNumberCancel(MainState& state) {
    state.setIdToSet("");
}

} // namespace kestrova
