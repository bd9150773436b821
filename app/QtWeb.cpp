#include "app/QtWeb.h"

#include "core/TextFile.h"

#include <QDesktopServices>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

namespace kestrova::app {

bool QtWebDownloader::download(std::string_view address, const std::filesystem::path& target) {
    QNetworkAccessManager network;
    QNetworkRequest request(
        QUrl(QString::fromUtf8(address.data(), static_cast<qsizetype>(address.size()))));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    QNetworkReply* reply = network.get(request);
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, reply, &QNetworkReply::abort);
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    timer.start(timeout_);
    loop.exec();
    const bool ok = reply->error() == QNetworkReply::NoError;
    const QByteArray bytes = reply->readAll();
    reply->deleteLater();
    if (!ok)
        return false;
    replaceFile(target,
                std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    return true;
}

void QtWebBrowser::openAddress(std::string_view address) {
    QDesktopServices::openUrl(
        QUrl(QString::fromUtf8(address.data(), static_cast<qsizetype>(address.size()))));
}

} // namespace kestrova::app
