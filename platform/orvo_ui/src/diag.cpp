#include <orvo_ui/diag.hpp>

#include <unistd.h>

#include <mutex>
#include <string>

namespace orvo_ui::diag {

void write_line(std::string_view line) {
    static std::mutex m;
    std::string buf(line);
    buf += '\n';
    std::lock_guard lock(m);
    const char* p = buf.data();
    size_t left = buf.size();
    while (left > 0) {
        ssize_t n = ::write(STDERR_FILENO, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return;
        }
        p += n;
        left -= size_t(n);
    }
}

}  // namespace orvo_ui::diag
