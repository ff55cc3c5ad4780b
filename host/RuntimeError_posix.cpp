#include "host/RuntimeError.h"

namespace nm {

RuntimeError ErrorFromSystem(std::error_code error, const std::string& path) {
    // Both categories hold errno values here.
    return ErrorFromErrno(error.value(), path);
}

} // namespace nm
