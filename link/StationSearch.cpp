// Finding the port the upload station sits on. A station echoes every byte while DTR is on
// and none while it is off; a loop-back plug echoes both ways and is passed over.
#include "link/CommsSession.h"
#include "link/PortDirectory.h"

namespace kestrova {

// Reads what has arrived into the reply text, replacing it; when nothing has arrived the
// reply text keeps its value.
std::string CommsSession::readReply(std::string& replyText) {
    const std::size_t count = s_.port.inputCount();
    if (count > 0) {
        const Bytes bytes = s_.port.read(count);
        if (!bytes.empty())
            replyText.assign(bytes.begin(), bytes.end());
    }
    return replyText;
}

void CommsSession::StationSearch(std::stop_token stop) {
    stop_ = stop;
    settings_ = s_.settings();
    s_.state.setStatusText(message(108));
    parserActive_ = false;
    pass_ = 0;
    startMs_ = now();

    const int configured = commPortNumber(settings_.commPort);
    std::string replyText;
    bool found = false;
    while (!found && !stopping()) {
        int port = configured;
        if (s_.port.isOpen())
            s_.port.close();
        if (port == 0)
            port = 1;
        s_.state.setGaugeBlue(true);
        while (!found && !stopping()) {
            s_.state.setPortNumber(port);
            const std::string number = std::to_string(port);
            s_.state.setStatusText(message(109) + " " + number + " )");
            s_.port.setPort("COM" + number);
            trace("Try2 " + number);
            int attempts = 0;
            bool opened = false;
            while (attempts < 4 && !opened && !stopping()) {
                s_.clock.sleepUntil(now() + 10, stop_);
                ++attempts;
                opened = s_.port.open();
            }
            trace("Try " + number);
            if (!opened) {
                s_.port.close();
                ++port;
                trace("SerErr " + std::to_string(attempts));
            } else {
                // Each port is judged by its own answers: a reply kept from the port before
                // would let a port that answers nothing pass for the station.
                replyText.clear();
                if (!s_.port.setDtr(true))
                    trace("2b");
                DelayServicing(250);
                trace("Back from delay");
                readReply(replyText);
                trace("Read buffer empty");
                sendRaw(kProbeText);
                trace(std::to_string(kProbeText.size()) + "Write to buffer");
                DelayServicing(50);
                readReply(replyText);
                trace("1st " + number + " <<>> " + replyText);
                if (replyText.size() < 7)
                    replyText.resize(7, ' ');
                bool firstHalf = replyText == "Emty   ";
                for (std::size_t at = 1; at <= 3; ++at)
                    firstHalf = firstHalf || replyText.compare(at, 4, kProbeText) == 0;
                if (!firstHalf) {
                    ++port;
                } else {
                    const bool dtrCleared = s_.port.setDtr(false);
                    if (!dtrCleared)
                        trace("Error 1 Clear DTR" + number);
                    readReply(replyText);
                    sendRaw(kProbeText);
                    DelayServicing(50);
                    readReply(replyText);
                    trace("2nd " + number + " <<>> " + replyText);
                    // Echoes whatever DTR does: a loop-back, not the station. Without modem
                    // lines (a pseudo-terminal, a network port) DTR stays as it was and nothing
                    // tells the two apart: the port is taken.
                    if (replyText == kProbeText && dtrCleared)
                        ++port;
                    else
                        found = true;
                }
                if (!s_.port.setDtr(true))
                    trace("2");
                if (!found)
                    s_.port.close();
            }
            if (!found && port >= kPortLimit)
                port = 0;
        }
        if (found && (port < 1 || port >= kPortLimit)) {
            found = false; // only port 0 can be: search again from the setting
            s_.port.close();
        }
        if (found)
            s_.state.setPortNumber(port);
    }
    if (stopping())
        return;

    const int foundPort = s_.state.portNumber();
    const std::string number = std::to_string(foundPort);
    if (commPortNumber(settings_.commPort) != foundPort) {
        trace("Set port as found");
        s_.settingsFile.SetSetting("CommPort", number);
    }

    if (!s_.port.setDtr(false))
        trace("Error 1 Clear DTR" + number);
    s_.state.setStatusText(message(110));
    std::string discard;
    readReply(discard);
    send(GetInfoFrame());
    trace("Sent first 01");
    DelayServicing(250);
    std::string answer;
    trace(readReply(answer));
    if (!s_.port.setDtr(true))
        trace("Error 2 Set DTR" + number);
    s_.port.setBreak(false);
    s_.state.setImageVisible(true);
    trace("Over checking 4 Tavlo");

    parserActive_ = true;
    s_.state.setStationChecked(true);
    state_ = SessionState::Restart;
    dly_ = 100;
    s_.state.setStatusText(message(111));
}

} // namespace kestrova
