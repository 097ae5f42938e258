# Writes a C++ source that holds the embedded images' bytes.
# cmake -DHIDE_TGA=… -DLOGO_TGA=… -DOUTPUT=… -P embedded_images.cmake
function(zv_bytes_as_array file out_var)
  file(READ "${file}" hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n    " bytes "${bytes}")
  set(${out_var} "${bytes}" PARENT_SCOPE)
endfunction()

zv_bytes_as_array("${HIDE_TGA}" hide_bytes)
zv_bytes_as_array("${LOGO_TGA}" logo_bytes)
file(WRITE "${OUTPUT}.tmp" "// Generated from resources/images/ by embedded_images.cmake; do not edit.
#include \"media/embedded_images_data.h\"

namespace {

constexpr uint8_t kHideTga[] = {
    ${hide_bytes}
};

constexpr uint8_t kLogoTga[] = {
    ${logo_bytes}
};

}  // namespace

std::span<const uint8_t> BuiltInHideTga() { return kHideTga; }
std::span<const uint8_t> BuiltInLogoTga() { return kLogoTga; }
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
