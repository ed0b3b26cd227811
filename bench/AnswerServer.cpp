#include "bench/AnswerServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sched.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace bench {

namespace {

// Spinning, the server never sleeps between frames and so needs no wake-up:
// like a scale's own controller, it answers as soon as the frame is in.
bool ReadFull(int fd, unsigned char* data, size_t size, bool spin) {
    while (size > 0) {
        const ssize_t got = recv(fd, data, size, spin ? MSG_DONTWAIT : 0);
        if (got < 0 && spin && (errno == EAGAIN || errno == EWOULDBLOCK)) continue;
        if (got <= 0) return false;
        data += got;
        size -= static_cast<size_t>(got);
    }
    return true;
}

// A frame: STX, the 2-byte length field (data length + 8), then the rest of
// the 15-byte header, the data and the 2-byte CRC: length field + 6 more bytes.
void Serve(int connection, bool spin) {
    const int on = 1;
    setsockopt(connection, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    unsigned char buffer[65536 + 16];
    const unsigned char ack = 0x06;
    while (ReadFull(connection, buffer, 3, spin)) {
        const size_t rest = static_cast<size_t>(buffer[1] | (buffer[2] << 8)) + 6;
        if (!ReadFull(connection, buffer + 3, rest, spin)) break;
        if (send(connection, &ack, 1, MSG_NOSIGNAL) != 1) break;
    }
    close(connection);
}

[[noreturn]] void RunServer(int listener, int portPipe, bool spin) {
    sockaddr_in bound{};
    socklen_t size = sizeof bound;
    getsockname(listener, reinterpret_cast<sockaddr*>(&bound), &size);
    const uint16_t port = ntohs(bound.sin_port);
    if (write(portPipe, &port, sizeof port) != sizeof port) _exit(1);
    close(portPipe);
    for (;;) {
        const int connection = accept(listener, nullptr, nullptr);
        if (connection >= 0) Serve(connection, spin);
    }
}

}  // namespace

bool PinToCpu(int cpu) {
    cpu_set_t set;
    CPU_ZERO(&set);
    CPU_SET(cpu, &set);
    return sched_setaffinity(0, sizeof set, &set) == 0;
}

AnswerServer::AnswerServer(int cpu, bool spin) {
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int fds[2];
    if (listener < 0 || bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener, 16) != 0 || pipe(fds) != 0) {
        std::perror("answer server");
        std::exit(1);
    }
    child_ = fork();
    if (child_ == 0) {
        close(fds[0]);
        if (cpu >= 0 && !PinToCpu(cpu)) _exit(1);
        RunServer(listener, fds[1], spin);
    }
    close(listener);
    close(fds[1]);
    if (child_ < 0 || read(fds[0], &port_, sizeof port_) != sizeof port_) {
        std::fprintf(stderr, "answer server did not start\n");
        std::exit(1);
    }
    close(fds[0]);
}

AnswerServer::~AnswerServer() {
    if (child_ <= 0) return;
    kill(child_, SIGTERM);
    waitpid(child_, nullptr, 0);
}

}  // namespace bench
