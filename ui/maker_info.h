// The maker's and the product's names and addresses shown in the window.
#pragma once

namespace ui {

inline constexpr const char* kMakerName = "Veltrano";
inline constexpr const char* kProductName = "Tablescope";
inline constexpr const char* kProductVersion = "1.00";
inline constexpr const char* kMakerWebAddress = "https://veltrano.example.org/tablescope";
inline constexpr const char* kSupportMail = "support@veltrano.example.org";
inline constexpr const char* kInfoMail = "info@veltrano.example.org";

}  // namespace ui
