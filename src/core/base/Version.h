#pragma once

namespace tovarin {

// The product's name and version text, as the window caption shows them and
// as the draw download reports them to the service.
inline constexpr const char* kProductName = "Tovarin";
inline constexpr const char* kVersionText = "1.08";

}  // namespace tovarin
