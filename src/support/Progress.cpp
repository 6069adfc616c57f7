#include "support/Progress.h"

NullProgress& NoProgress() {
    static NullProgress none;
    return none;
}
