// SingleInstance: keeps one viewer per server name; a later start hands its request to the running
// one.
#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

#include <chrono>

namespace orvane {

class SingleInstance : public QObject {
    Q_OBJECT

public:
    enum class Role {
        primary,   // listening: this process is the running instance
        secondary, // a running instance took the request; this process can end
        alone,     // nobody answered and listening failed: run without the handshake
    };

    static constexpr std::chrono::milliseconds defaultTimeout{1000};

    explicit SingleInstance(const QString& serverName,
                            std::chrono::milliseconds timeout = defaultTimeout,
                            QObject* parent = nullptr);

    // Hands request (one line of text) to the running instance if one answers; otherwise removes
    // a stale server left by a crashed instance and listens under the name. An empty name runs
    // alone at once.
    Role start(const QString& request);

    const QString& serverName() const { return serverName_; }
    // What went wrong when start() returned Role::alone.
    QString errorString() const { return server_.errorString(); }

signals:
    // A later start handed over its request.
    void requestReceived(const QString& request);

private:
    bool sendToRunning(const QString& request) const;
    void acceptConnections();

    QString serverName_;
    std::chrono::milliseconds timeout_;
    QLocalServer server_;
};

} // namespace orvane
