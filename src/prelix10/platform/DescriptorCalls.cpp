#include "prelix10/platform/DescriptorCalls.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace Prelix10 {

int DescriptorCalls::open(const std::string& path, int flags) { return ::open(path.c_str(), flags); }

ssize_t DescriptorCalls::read(int fd, void* buffer, std::size_t length) { return ::read(fd, buffer, length); }

ssize_t DescriptorCalls::write(int fd, const void* bytes, std::size_t length) { return ::write(fd, bytes, length); }

int DescriptorCalls::poll(pollfd* fds, nfds_t count, int timeoutMilliseconds) {
    return ::poll(fds, count, timeoutMilliseconds);
}

int DescriptorCalls::ioctl(int fd, unsigned long request, void* argument) { return ::ioctl(fd, request, argument); }

int DescriptorCalls::flock(int fd, int operation) { return ::flock(fd, operation); }

int DescriptorCalls::close(int fd) { return ::close(fd); }

std::shared_ptr<DescriptorCalls> DescriptorCalls::system() {
    static const auto calls = std::make_shared<DescriptorCalls>();
    return calls;
}

}  // namespace Prelix10
