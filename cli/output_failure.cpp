#include "output_failure.h"

#include <cerrno>
#include <cstring>

#include "cli_options.h"

namespace cli {

std::string outputFailure(int error) {
    return std::string("cannot write the output: ") + std::strerror(error != 0 ? error : EIO);
}

int finishOutput(std::FILE* out, std::FILE* err, int exitCode) {
    errno = 0;
    const bool flushed = std::fflush(out) == 0;
    const int error = errno;
    if ((flushed && !std::ferror(out)) || exitCode != kOk)
        return exitCode;
    std::fprintf(err, "tablescope-cli: %s\n", outputFailure(error).c_str());
    return kReadError;
}

}  // namespace cli
