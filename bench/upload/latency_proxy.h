#pragma once
// A TCP relay on loopback that stands for a distant server: every piece of
// bytes it reads, in either direction, is passed on only after a fixed delay
// (half the round trip), in order. It counts the client's turns: a send of
// the client after the server has answered (every wait of the client for the
// server costs one), against the step that the benchmark says is running,
// and when the wire is not encrypted it names the Firebird operations of
// each turn (wire_ops.h).
//
//   LatencyProxy proxy(QStringLiteral("127.0.0.1"), 3050, 20);   // 20 ms round trip
//   ... attach to "127.0.0.1/<proxy.Port()>:<file>" ...
//   proxy.SetStep(step);  ...  LatencyProxy::Counts c = proxy.Take();

#include <QString>
#include <array>
#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

class LatencyProxy {
public:
    static constexpr int kSteps = 8;

    // Listens on 127.0.0.1 (a port of its own) and relays every connection to
    // `host`:`port`, which must be on this machine. Raises std::runtime_error
    // when it cannot listen.
    LatencyProxy(const QString& host, int port, int roundTripMs);
    ~LatencyProxy(); // closes every connection
    LatencyProxy(const LatencyProxy&) = delete;
    LatencyProxy& operator=(const LatencyProxy&) = delete;

    int Port() const { return port_; }
    int RoundTripMs() const { return roundTripMs_; }
    // "127.0.0.1/<port>", the host part of a Firebird database name.
    QString Address() const;

    // The step (0 .. kSteps - 1) that the turns from now on count against.
    void SetStep(int step) { step_.store(step, std::memory_order_relaxed); }

    struct Counts {
        std::array<long, kSteps> turns{};
        // The operations of the turns, by step and by their names
        // ("op_execute op_fetch"); empty while the wire is encrypted.
        std::array<std::map<QString, long>, kSteps> ops;
        long encryptedTurns = 0; // turns whose operations could not be read
    };
    // The counts since the last Take, and a fresh start.
    Counts Take();

private:
    struct Connection;
    void Run();
    void Accept();
    void Relay(Connection& c, bool fromClient);
    void Flush(Connection& c, bool toServer);
    // A send of the client: a new turn when the server spoke since its last.
    void CountTurn(Connection& c, const char* data, size_t size);
    // The server spoke: the client's turn is over, its operations are named.
    void EndTurn(Connection& c);

    QString host_;
    int targetPort_;
    int roundTripMs_;
    int listen_ = -1;
    int port_ = 0;
    int wake_[2] = {-1, -1};
    std::atomic<int> step_{0};
    std::atomic<bool> stop_{false};
    std::mutex countsLock_;
    Counts counts_;
    std::map<int, std::unique_ptr<Connection>> connections_;
    std::thread thread_;
};
