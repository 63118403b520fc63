#pragma once
// CSocketEx: the base of the console's thin IPv4 socket classes. It keeps the
// handle, the blocking mode, a default wait and the socket error number of the
// last failed call. Used directly (blocking) by the SMTP client; the board
// sessions and the search use the event-driven subclasses.
#include <string>

constexpr int SOCKET_KIND_STREAM = 0;
constexpr int SOCKET_KIND_DATAGRAM = 1;
constexpr int INVALID_SOCKET_HANDLE = -1;

class CSocketEx {
public:
    CSocketEx();
    CSocketEx(const CSocketEx&) = delete;
    CSocketEx& operator=(const CSocketEx&) = delete;
    virtual ~CSocketEx();

    // address: dotted text, or null/empty for any local address.
    virtual int Bind(const char* address, int port, int kind);
    virtual int Create(int kind);
    virtual int Connect(const char* host, int port);
    virtual int Receive(void* buffer, int size);
    virtual int Send(const void* data, int length);
    virtual int Close();
    virtual int IsBlocking();
    virtual int SetBlocking();
    virtual int SetNonBlocking();
    virtual int SetDefaultTimeout(int ms);
    virtual int Attach(int handle);

    int Handle() const { return m_socket; }
    bool IsOpen() const { return m_socket != INVALID_SOCKET_HANDLE; }
    int LastError() const { return m_lastError; }
    int DefaultTimeout() const { return m_defaultWait; }

protected:
    // Stores the socket error number of the failed call that just set errno.
    void SetLastErrorFromErrno();
    // The orderly close of this class; the destructors call their own class's close.
    int OrderlyClose(int drainBudgetMs);
    // Marks the handle closed after the platform close.
    void ForgetHandle() { m_socket = INVALID_SOCKET_HANDLE; }

    int m_socket = INVALID_SOCKET_HANDLE;
    int m_defaultWait = 1000;
    int m_blocking = 1;
    int m_lastError = 0;
};

// Resolves host (dotted IPv4 text, else a host name) to a network-order
// IPv4 address. False when it cannot be resolved.
bool ResolveIPv4(const char* host, unsigned& networkAddress);

// Process-wide start and stop of the socket layer. Startup returns 0 (also
// when already started); Cleanup returns 0.
int SocketsStartup();
int SocketsCleanup();
