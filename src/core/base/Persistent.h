#pragma once

#include <string>

#include "core/base/Errors.h"

namespace tovarin {

// The framework's persistent base: Assign copies from any persistent object
// by asking the source to copy itself, and a class that cannot take the
// other's content refuses with its own message.
class TPersistent {
public:
    TPersistent() = default;
    TPersistent(const TPersistent&) = delete;
    TPersistent& operator=(const TPersistent&) = delete;
    virtual ~TPersistent() = default;

    virtual void Assign(const TPersistent& source) { source.AssignTo(*this); }
    virtual void AssignTo(TPersistent& /*dest*/) const {
        throw Exception("Cannot assign a " + ClassName() + " to another class");
    }

protected:
    virtual std::string ClassName() const { return "TPersistent"; }
};

}  // namespace tovarin
