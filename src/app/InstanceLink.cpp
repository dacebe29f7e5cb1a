// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/InstanceLink.h"

#include <QDataStream>
#include <QDir>
#include <QLocalSocket>

#include "framework/AppTitle.h"
#include "framework/platform/qt/QtPaths.h"

namespace {

const char* const kLockName = "Korvane";
constexpr int kConnectTimeoutMs = 2000;
constexpr int kRecordSize = 8;  // code and value, each a big-endian 32-bit number

void AppendRecord(QByteArray& out, qint32 code, qint32 value) {
    QDataStream stream(&out, QIODevice::Append);
    stream.setByteOrder(QDataStream::BigEndian);
    stream << code << value;
}

}  // namespace

// Per connection: the receive buffer and how many bytes it holds.
struct CInstanceLink::Receiver {
    QByteArray buffer = QByteArray(kReceiveBufferSize, '\0');
    int count = 0;
};

CInstanceLink::CInstanceLink(QString folder, QObject* parent)
    : QObject(parent),
      m_folder(folder.isEmpty() ? UserRuntimeFolder() : std::move(folder)),
      m_lock(QDir(m_folder).filePath(QString::fromLatin1(kLockName) + ".lock")) {
    // A lock is never held long: a copy holds it from its start until its window is up.
    m_lock.setStaleLockTime(0);
    connect(&m_server, &QLocalServer::newConnection, this, &CInstanceLink::AcceptConnections);
}

CInstanceLink::~CInstanceLink() = default;

// The main window's title names the socket, as it names the running copy.
QString CInstanceLink::SocketPath() const { return QDir(m_folder).filePath(QString::fromUtf8(kAppTitle)); }

bool CInstanceLink::LockStartup() {
    QDir().mkpath(m_folder);
    // lock() waits without a limit and removes a lock whose process is gone.
    return m_lock.lock();
}

void CInstanceLink::UnlockStartup() {
    if (m_lock.isLocked()) m_lock.unlock();
}

bool CInstanceLink::ForwardToRunningCopy(const QByteArray& fileName) {
    QLocalSocket socket;
    socket.connectToServer(SocketPath());
    if (!socket.waitForConnected(kConnectTimeoutMs)) return false;
    QByteArray records;
    if (!fileName.isEmpty()) {
        AppendRecord(records, FORWARD_BEGIN, 0);
        // Each byte goes as the sender's signed char, as it always has.
        for (const char byte : fileName) AppendRecord(records, FORWARD_CHAR, static_cast<signed char>(byte));
        AppendRecord(records, FORWARD_CHAR, 0);
        AppendRecord(records, FORWARD_END, 0);
    }
    socket.write(records);
    const bool sent = records.isEmpty() || socket.waitForBytesWritten(kConnectTimeoutMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(kConnectTimeoutMs);
    return sent;
}

bool CInstanceLink::Listen() {
    QDir().mkpath(m_folder);
    // Only the copy holding the start-up lock listens, and it found no copy answering:
    // whatever lies at the socket's name was left by one that crashed.
    QLocalServer::removeServer(SocketPath());
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    return m_server.listen(SocketPath());
}

void CInstanceLink::AcceptConnections() {
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        auto receiver = std::make_shared<Receiver>();
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, receiver] { Receive(socket, *receiver); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket, receiver] {
            Receive(socket, *receiver);
            socket->deleteLater();
            QMetaObject::invokeMethod(this, &CInstanceLink::ActivateRequested, Qt::QueuedConnection);
        });
    }
}

void CInstanceLink::Receive(QLocalSocket* socket, Receiver& receiver) {
    while (socket->bytesAvailable() >= kRecordSize) {
        QDataStream stream(socket);
        stream.setByteOrder(QDataStream::BigEndian);
        qint32 code = 0;
        qint32 value = 0;
        stream >> code >> value;
        switch (code) {
            case FORWARD_BEGIN: receiver.count = 0; break;
            case FORWARD_CHAR:
                if (receiver.count < kReceiveBufferSize) receiver.buffer[receiver.count++] = static_cast<char>(value);
                break;
            case FORWARD_END: {
                if (receiver.count == 0) break;
                // The name ends at its terminating zero; one that filled the whole
                // buffer keeps room for it.
                QByteArray name = receiver.buffer.left(std::min(receiver.count, kReceiveBufferSize - 1));
                name.truncate(name.indexOf('\0') == -1 ? name.size() : name.indexOf('\0'));
                receiver.count = 0;
                // Queued: opening a style may show a box whose event loop finishes
                // this connection and deletes the socket being read here.
                QMetaObject::invokeMethod(
                    this, [this, name] { emit OpenRequested(name); }, Qt::QueuedConnection);
                break;
            }
            default: break;
        }
    }
}
