// A minimal scale stand-in in a child process: accepts one connection after
// another on loopback and answers every frame with ACK, doing nothing else,
// so that a benchmark measures the client and the loopback, not the peer.
#pragma once

#include <cstdint>
#include <sys/types.h>

namespace bench {

class AnswerServer {
public:
    AnswerServer();  // forks the server; exits the program when it cannot start
    ~AnswerServer();  // ends the child
    AnswerServer(const AnswerServer&) = delete;
    AnswerServer& operator=(const AnswerServer&) = delete;
    uint16_t Port() const { return port_; }

private:
    pid_t child_ = -1;
    uint16_t port_ = 0;
};

}  // namespace bench
