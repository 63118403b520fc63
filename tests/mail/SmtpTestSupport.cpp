#include "SmtpTestSupport.h"

#include <cerrno>
#include <cstring>
#include <mutex>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>

namespace {

int ListenOn(const std::string& address, int& error) {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(25);
    ::inet_pton(AF_INET, address.c_str(), &addr.sin_addr);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(fd, 4) != 0) {
        error = errno;
        ::close(fd);
        return -1;
    }
    return fd;
}

std::string ReadFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll().toStdString();
}

}  // namespace

std::string TestLoopbackAddress() {
    // Every bit of the pid (pid_max is at most 2^22) goes into the address, so
    // two test processes never share one; 127.64/10 keeps clear of 127.0.0.1.
    unsigned pid = static_cast<unsigned>(::getpid());
    return "127." + std::to_string(64 + ((pid >> 16) & 63)) + "." + std::to_string((pid >> 8) & 0xff) + "." +
           std::to_string(pid & 0xff);
}

std::string Port25Unavailable(const std::string& address) {
    int error = 0;
    int fd = ListenOn(address, error);
    if (fd < 0)
        return std::string("cannot listen on ") + address + ":25 (" + std::strerror(error) +
               "); run the tests through scripts/test, which gives them a private network namespace";
    ::close(fd);
    return {};
}

std::string WithoutCr(const std::string& text) {
    std::string out;
    for (char c : text)
        if (c != '\r')
            out += c;
    return out;
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return done();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QCoreApplication::sendPostedEvents();
        ::poll(nullptr, 0, 5);
    }
    return true;
}

CCaptureServer::~CCaptureServer() {
    if (m_process.state() != QProcess::NotRunning) {
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(5000)) {
            m_process.kill();
            m_process.waitForFinished(2000);
        }
    }
}

bool CCaptureServer::Start(const std::string& address, const std::vector<std::string>& rejects) {
    QStringList args = {QStringLiteral(LUMIVEX_SMTP_CAPTURE), "--host", QString::fromStdString(address), "--dir",
                        m_dir.path()};
    for (const std::string& r : rejects)
        args << "--reject" << QString::fromStdString(r);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // Debian's Python: the one that sees the packaged aiosmtpd.
    m_process.start("/usr/bin/python3", args);
    if (!m_process.waitForStarted(5000))
        return false;
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 15000) {
        if (m_process.canReadLine() || m_process.waitForReadyRead(200)) {
            if (m_process.readLine().trimmed() == "ready")
                return true;
        }
        if (m_process.state() == QProcess::NotRunning)
            return false;
    }
    return false;
}

std::vector<std::pair<double, std::string>> CCaptureServer::TimedEvents() const {
    std::vector<std::pair<double, std::string>> events;
    std::string text = ReadFile(m_dir.filePath("events.log"));
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            break;
        std::string line = text.substr(start, end - start);
        size_t space = line.find(' ');
        events.emplace_back(std::stod(line.substr(0, space)), line.substr(space + 1));
        start = end + 1;
    }
    return events;
}

std::vector<std::string> CCaptureServer::Events() const {
    std::vector<std::string> names;
    for (const auto& event : TimedEvents())
        names.push_back(event.second);
    return names;
}

int CCaptureServer::MessageCount() const {
    return static_cast<int>(QDir(m_dir.path()).entryList({"*.json"}, QDir::Files).size());
}

bool CCaptureServer::WaitForMessages(int count, int timeoutMs) const {
    return PumpUntil([&] { return MessageCount() >= count; }, timeoutMs);
}

QJsonObject CCaptureServer::Message(int number) const {
    std::string text = ReadFile(m_dir.filePath(QString::number(number) + ".json"));
    return QJsonDocument::fromJson(QByteArray::fromStdString(text)).object();
}

std::string CCaptureServer::RawMessage(int number) const {
    return ReadFile(m_dir.filePath(QString::number(number) + ".eml"));
}

CScriptedSmtpPeer::CScriptedSmtpPeer(const std::string& address, Script script) {
    int error = 0;
    m_listen = ListenOn(address, error);
    if (m_listen >= 0)
        m_thread = std::thread([this, script = std::move(script)] { Run(script); });
}

CScriptedSmtpPeer::~CScriptedSmtpPeer() {
    m_quit = true;
    release = true;
    if (m_thread.joinable())
        m_thread.join();
    if (m_listen >= 0)
        ::close(m_listen);
}

void CScriptedSmtpPeer::Run(Script script) {
    pollfd pfd{m_listen, POLLIN, 0};
    while (!m_quit) {
        if (::poll(&pfd, 1, 20) <= 0)
            continue;
        m_fd = ::accept(m_listen, nullptr, nullptr);
        if (m_fd < 0)
            continue;
        script(*this);
        m_finished = true;
        ::close(m_fd);
        return;
    }
}

void CScriptedSmtpPeer::Send(const std::string& text) {
    ::send(m_fd, text.data(), text.size(), MSG_NOSIGNAL);
}

std::string CScriptedSmtpPeer::ReadLine() {
    std::string line;
    char c;
    pollfd pfd{m_fd, POLLIN, 0};
    while (!m_quit && ::poll(&pfd, 1, 5000) > 0 && ::recv(m_fd, &c, 1, 0) == 1) {
        line += c;
        if (c == '\n')
            break;
    }
    std::lock_guard guard(m_mutex);
    m_received.push_back(line);
    return line;
}

std::string CScriptedSmtpPeer::ReadData() {
    std::string data;
    for (;;) {
        std::string line = ReadLine();
        if (line.empty())
            return data;
        data += line;
        if (line == ".\r\n")
            return data;
    }
}

std::string CScriptedSmtpPeer::ReadBulkData() {
    static const std::string kEnd = "\r\n.\r\n";
    std::string data;
    std::string block(64 * 1024, '\0');
    pollfd pfd{m_fd, POLLIN, 0};
    while (!m_quit && ::poll(&pfd, 1, 5000) > 0) {
        ssize_t n = ::recv(m_fd, block.data(), block.size(), 0);
        if (n <= 0)
            return {};
        data.append(block.data(), static_cast<size_t>(n));
        if (data.size() >= kEnd.size() && data.compare(data.size() - kEnd.size(), kEnd.size(), kEnd) == 0)
            return data;
    }
    return {};
}

bool CScriptedSmtpPeer::WaitForClose(int timeoutMs) {
    char buffer[256];
    pollfd pfd{m_fd, POLLIN, 0};
    while (::poll(&pfd, 1, timeoutMs) > 0) {
        ssize_t n = ::recv(m_fd, buffer, sizeof buffer, 0);
        if (n <= 0)
            return true;
        std::lock_guard guard(m_mutex);
        m_received.emplace_back(buffer, static_cast<size_t>(n));
    }
    return false;
}

void CScriptedSmtpPeer::Pause(int ms) { ::poll(nullptr, 0, ms); }

std::vector<std::string> CScriptedSmtpPeer::Received() const {
    std::lock_guard guard(m_mutex);
    return m_received;
}
