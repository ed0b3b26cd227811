#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <stdexcept>

#include "lib/cf/TextUtils.h"
#include "tests/unit/common/LogTestSupport.h"

namespace log_tests {

void SetEnvironment(const std::u16string& name, const std::u16string& value) {
    setenv(cf::ToUtf8(name).c_str(), cf::ToUtf8(value).c_str(), 1);
}

void UnsetEnvironment(const std::u16string& name) { unsetenv(cf::ToUtf8(name).c_str()); }

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments) {
    std::vector<std::string> all{program};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    pid_ = pid;
}

ChildProcess::~ChildProcess() {
    if (!waited_) Wait();
}

int ChildProcess::Wait() {
    int status = 0;
    waited_ = true;
    if (waitpid(static_cast<pid_t>(pid_), &status, 0) < 0) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ProgramFolder() {
    char buffer[PATH_MAX] = {};
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
    std::string path(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
    return path.substr(0, path.find_last_of('/') + 1);
}

std::string ProgramFileName(const std::string& name) { return name; }

bool OtherWriterGetsIn(const std::u16string& path) {
    const int fd = open(cf::ToUtf8(path).c_str(), O_WRONLY | O_APPEND);
    if (fd < 0) throw std::runtime_error("cannot open the file");
    const bool locked = flock(fd, LOCK_EX | LOCK_NB) == 0;
    close(fd);
    return locked;
}

ForeignFileLock::ForeignFileLock(const std::u16string& path) {
    fd_ = open(cf::ToUtf8(path).c_str(), O_WRONLY | O_CREAT | O_APPEND, 0666);
    if (fd_ < 0 || flock(fd_, LOCK_EX) != 0) throw std::runtime_error("cannot lock the file");
}

ForeignFileLock::~ForeignFileLock() { Release(); }

void ForeignFileLock::Release() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
}

}  // namespace log_tests
