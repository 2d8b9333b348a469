#include "bench/upload/latency_proxy.h"

#include "bench/upload/wire_ops.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <deque>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

using Clock = std::chrono::steady_clock;

namespace {

constexpr size_t kReadChunk = 64 * 1024;
// What one turn may keep for naming its operations; a longer send (a
// photograph's segments) is named by its start.
constexpr size_t kTurnBytesKept = 256 * 1024;

void NoDelay(int fd) {
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

void NonBlocking(int fd) {
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
}

// A connected socket to `host`:`port`, which must be a loopback address.
int ConnectTo(const QString& host, int port) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.toLatin1().constData(), QByteArray::number(port).constData(), &hints,
                      &found) != 0)
        return -1;
    int fd = -1;
    for (addrinfo* a = found; a && fd < 0; a = a->ai_next) {
        const bool loopback =
            (a->ai_family == AF_INET &&
             (ntohl(reinterpret_cast<sockaddr_in*>(a->ai_addr)->sin_addr.s_addr) >> 24) == 127) ||
            (a->ai_family == AF_INET6 &&
             IN6_IS_ADDR_LOOPBACK(&reinterpret_cast<sockaddr_in6*>(a->ai_addr)->sin6_addr));
        if (!loopback)
            continue;
        fd = ::socket(a->ai_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd >= 0 && ::connect(fd, a->ai_addr, a->ai_addrlen) != 0) {
            ::close(fd);
            fd = -1;
        }
    }
    ::freeaddrinfo(found);
    return fd;
}

} // namespace

// One relayed connection: the client's socket, the server's, and for each
// direction the bytes read and waiting for their time.
struct LatencyProxy::Connection {
    struct Chunk {
        Clock::time_point due;
        std::vector<char> bytes;
        size_t written = 0;
    };
    struct Direction {
        std::deque<Chunk> pending;
        bool readerDone = false; // the sending side closed
        bool shutDown = false;   // and that was passed on
    };
    int client = -1;
    int server = -1;
    Direction toServer, toClient;
    // Turn keeping: whether the server spoke since the client's last send,
    // and the bytes of the client's current turn.
    bool serverSpoke = true;
    int turnStep = 0;
    std::vector<unsigned char> turnBytes;
    bool encrypted = false;

    ~Connection() {
        if (client >= 0)
            ::close(client);
        if (server >= 0)
            ::close(server);
    }
    bool Done() const { return toServer.shutDown && toClient.shutDown; }
};

LatencyProxy::LatencyProxy(const QString& host, int port, int roundTripMs)
    : host_(host), targetPort_(port), roundTripMs_(roundTripMs) {
    listen_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listen_ < 0 ||
        ::bind(listen_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listen_, 16) != 0 ||
        ::getsockname(listen_, reinterpret_cast<sockaddr*>(&address), &length) != 0 ||
        ::pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0)
        throw std::runtime_error("the latency proxy cannot listen on loopback");
    port_ = ntohs(address.sin_port);
    NonBlocking(listen_);
    thread_ = std::thread([this] { Run(); });
}

LatencyProxy::~LatencyProxy() {
    stop_ = true;
    const char byte = 0;
    [[maybe_unused]] const ssize_t ignored = ::write(wake_[1], &byte, 1);
    thread_.join();
    connections_.clear();
    ::close(listen_);
    ::close(wake_[0]);
    ::close(wake_[1]);
}

QString LatencyProxy::Address() const {
    return QStringLiteral("127.0.0.1/%1").arg(port_);
}

LatencyProxy::Counts LatencyProxy::Take() {
    std::lock_guard guard(countsLock_);
    Counts taken = std::move(counts_);
    counts_ = Counts();
    return taken;
}

void LatencyProxy::Run() {
    while (!stop_) {
        std::vector<pollfd> fds{{wake_[0], POLLIN, 0}, {listen_, POLLIN, 0}};
        std::vector<std::pair<Connection*, bool>> owners; // per fd: connection, is client
        Clock::time_point next = Clock::now() + std::chrono::seconds(1);
        for (auto& [id, c] : connections_) {
            for (const bool client : {true, false}) {
                // The side that reads into a direction, and the one it writes to.
                Connection::Direction& in = client ? c->toServer : c->toClient;
                Connection::Direction& out = client ? c->toClient : c->toServer;
                short events = 0;
                if (!in.readerDone)
                    events |= POLLIN;
                if (!out.pending.empty()) {
                    if (out.pending.front().due <= Clock::now())
                        events |= POLLOUT;
                    else
                        next = std::min(next, out.pending.front().due);
                }
                fds.push_back({client ? c->client : c->server, events, 0});
                owners.emplace_back(c.get(), client);
            }
        }
        const auto wait = std::chrono::duration_cast<std::chrono::nanoseconds>(
            std::max(Clock::duration::zero(), next - Clock::now()));
        const timespec timeout{static_cast<time_t>(wait.count() / 1000000000),
                               static_cast<long>(wait.count() % 1000000000)};
        if (::ppoll(fds.data(), fds.size(), &timeout, nullptr) < 0 && errno != EINTR)
            return;
        if (fds[1].revents & POLLIN)
            Accept();
        for (size_t i = 2; i < fds.size(); ++i) {
            auto [c, client] = owners[i - 2];
            if (fds[i].revents & (POLLIN | POLLHUP | POLLERR))
                Relay(*c, client);
            Flush(*c, !client);
        }
        for (auto it = connections_.begin(); it != connections_.end();)
            it = it->second->Done() ? connections_.erase(it) : std::next(it);
    }
}

void LatencyProxy::Accept() {
    for (;;) {
        const int client = ::accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (client < 0)
            return;
        auto c = std::make_unique<Connection>();
        c->client = client;
        c->server = ConnectTo(host_, targetPort_);
        if (c->server < 0)
            continue; // the client sees its connection closed
        NonBlocking(c->server);
        NoDelay(c->client);
        NoDelay(c->server);
        const int id = c->client;
        connections_[id] = std::move(c);
    }
}

void LatencyProxy::Relay(Connection& c, bool fromClient) {
    Connection::Direction& d = fromClient ? c.toServer : c.toClient;
    if (d.readerDone)
        return; // a closed side keeps reporting its hang-up
    const int fd = fromClient ? c.client : c.server;
    const auto due = Clock::now() + std::chrono::microseconds(roundTripMs_ * 1000 / 2);
    std::vector<char> buffer(kReadChunk);
    for (;;) {
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n > 0) {
            if (fromClient)
                CountTurn(c, buffer.data(), size_t(n));
            else
                EndTurn(c);
            d.pending.push_back({due, std::vector<char>(buffer.begin(), buffer.begin() + n), 0});
            continue;
        }
        if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
            d.readerDone = true;
            d.pending.push_back({due, {}, 0}); // the close, passed on in its turn
        }
        return;
    }
}

void LatencyProxy::Flush(Connection& c, bool toServer) {
    Connection::Direction& d = toServer ? c.toServer : c.toClient;
    const int fd = toServer ? c.server : c.client;
    while (!d.pending.empty() && d.pending.front().due <= Clock::now()) {
        Connection::Chunk& chunk = d.pending.front();
        if (chunk.bytes.empty()) {
            ::shutdown(fd, SHUT_WR);
            d.shutDown = true;
            d.pending.clear();
            return;
        }
        const ssize_t n =
            ::write(fd, chunk.bytes.data() + chunk.written, chunk.bytes.size() - chunk.written);
        if (n < 0) {
            if (errno == EAGAIN || errno == EINTR)
                return;
            // The other side is gone: nothing more goes either way.
            c.toServer.readerDone = c.toClient.readerDone = true;
            c.toServer.shutDown = c.toClient.shutDown = true;
            return;
        }
        chunk.written += size_t(n);
        if (chunk.written < chunk.bytes.size())
            return;
        d.pending.pop_front();
    }
}

void LatencyProxy::CountTurn(Connection& c, const char* data, size_t size) {
    std::lock_guard guard(countsLock_);
    if (c.serverSpoke) {
        c.serverSpoke = false;
        c.turnStep = step_.load(std::memory_order_relaxed);
        c.turnBytes.clear();
        ++counts_.turns[size_t(c.turnStep)];
    }
    const size_t room = kTurnBytesKept - std::min(kTurnBytesKept, c.turnBytes.size());
    c.turnBytes.insert(c.turnBytes.end(), data, data + std::min(size, room));
}

void LatencyProxy::EndTurn(Connection& c) {
    if (c.serverSpoke)
        return;
    c.serverSpoke = true;
    std::lock_guard guard(countsLock_);
    if (c.encrypted) {
        ++counts_.encryptedTurns;
        return;
    }
    const WireOps::Decoded decoded = WireOps::ClientPackets(c.turnBytes.data(), c.turnBytes.size());
    ++counts_.ops[size_t(c.turnStep)][WireOps::Signature(decoded)];
    // Everything after the client's op_crypt is encrypted.
    for (unsigned op : decoded.ops)
        c.encrypted = c.encrypted || op == WireOps::kCrypt;
}
