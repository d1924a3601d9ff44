// The exception the host wrappers throw: a failed host call, carrying its code.
// The message boundary turns it back into that code.
#ifndef QUILTOR_COMMON_IAIERROR_H
#define QUILTOR_COMMON_IAIERROR_H

#include <exception>

#include "AIHost.h"

namespace ai {

class Error : public std::exception {
public:
    explicit Error(AIErr error) noexcept : fError(error) {}
    AIErr GetErr() const noexcept { return fError; }
    operator AIErr() const noexcept { return fError; }
    const char* what() const noexcept override { return "host call failed"; }

private:
    AIErr fError;
};

// Throws ai::Error for a non-zero code.
inline void check_ai_error(AIErr error) {
    if (error != kNoErr) throw Error(error);
}

}  // namespace ai

#endif
