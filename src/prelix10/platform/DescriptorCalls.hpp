#pragma once

// The system calls an accessory source and its link make on a device node's descriptor. The defaults are the
// system's own. A stand-in for a device driver (where no kernel device is at hand) overrides them for the
// descriptors it hands out, and passes every other descriptor on to the system.

#include <poll.h>
#include <sys/types.h>

#include <cstddef>
#include <memory>
#include <string>

namespace Prelix10 {

class DescriptorCalls {
public:
    virtual ~DescriptorCalls() = default;

    virtual int open(const std::string& path, int flags);
    virtual ssize_t read(int fd, void* buffer, std::size_t length);
    virtual ssize_t write(int fd, const void* bytes, std::size_t length);
    virtual int poll(pollfd* fds, nfds_t count, int timeoutMilliseconds);
    virtual int ioctl(int fd, unsigned long request, void* argument);
    virtual int flock(int fd, int operation);
    virtual int close(int fd);

    // The system's own calls, shared.
    static std::shared_ptr<DescriptorCalls> system();
};

}  // namespace Prelix10
