// A minimal scale stand-in in a child process: accepts one connection after
// another on loopback and answers every frame with ACK, doing nothing else,
// so that a benchmark measures the client and the loopback, not the peer.
#pragma once

#include <cstdint>
#include <sys/types.h>

namespace bench {

// Keeps the calling process (and what it forks later) to one processor; false
// when the machine refuses.
bool PinToCpu(int cpu);

class AnswerServer {
public:
    // Forks the server, kept to processor `cpu` when it is not negative and,
    // with `spin`, polling its connection instead of sleeping on it (only
    // sensible on a processor of its own); exits the program when it cannot
    // start.
    explicit AnswerServer(int cpu = -1, bool spin = false);
    ~AnswerServer();  // ends the child
    AnswerServer(const AnswerServer&) = delete;
    AnswerServer& operator=(const AnswerServer&) = delete;
    uint16_t Port() const { return port_; }

private:
    pid_t child_ = -1;
    uint16_t port_ = 0;
};

}  // namespace bench
