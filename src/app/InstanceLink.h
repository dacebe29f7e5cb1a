// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <memory>

class QLocalSocket;

// One running copy of the program per user. Start-ups take turns through a lock named
// "Korvane"; the running copy listens on a local socket named after its main window,
// over which a later copy hands on the file it was given, byte by byte, in the codes
// below, and then ends.
class CInstanceLink : public QObject {
    Q_OBJECT

public:
    static constexpr qint32 FORWARD_BEGIN = 4711;  // empty the receive buffer
    static constexpr qint32 FORWARD_CHAR = 4713;   // one byte of the name
    static constexpr qint32 FORWARD_END = 4714;    // open the name received
    static constexpr int kReceiveBufferSize = 1000;

    // folder: where lock and socket live; by default the user's own runtime folder,
    // which no other user can enter.
    explicit CInstanceLink(QString folder = {}, QObject* parent = nullptr);
    ~CInstanceLink() override;

    // Waits for the start-up lock. A lock left by a copy that crashed is taken over.
    bool LockStartup();
    void UnlockStartup();

    // Hands fileName (empty: none) to the running copy, which then comes to the
    // front. False when no copy runs.
    bool ForwardToRunningCopy(const QByteArray& fileName);

    // Makes this copy the running one. A socket left by a copy that crashed is
    // replaced.
    bool Listen();

    QString SocketPath() const;

signals:
    // Both come from the event loop, never from inside the reading of a connection,
    // so a receiver may show a modal box.
    // A later copy handed on this name (as the bytes it was given).
    void OpenRequested(const QByteArray& fileName);
    // A later copy started: the running copy comes to the front.
    void ActivateRequested();

private:
    struct Receiver;
    void AcceptConnections();
    void Receive(QLocalSocket* socket, Receiver& receiver);

    QString m_folder;
    QLockFile m_lock;
    QLocalServer m_server;
};
