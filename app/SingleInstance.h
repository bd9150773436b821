// One running copy per user: the first copy listens on a local socket named after the user;
// a second copy that reaches it asks it to come to the front and ends. Qt Network.
#pragma once

#include <QLocalServer>
#include <QObject>
#include <functional>
#include <memory>

namespace kestrova::app {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // `serverName` defaults to one per user.
    explicit SingleInstance(QString serverName = {});

    // True when another copy runs: it has been asked to come to the front.
    bool askRunningCopy();
    // Starts listening; `raise` runs whenever a later copy asks.
    bool listen(std::function<void()> raise);

    static QString defaultServerName();

private:
    QString name_;
    std::unique_ptr<QLocalServer> server_;
    std::function<void()> raise_;
};

} // namespace kestrova::app
