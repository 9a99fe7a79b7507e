#include "display/monitor_selection.h"

#include "platform/direct3d9_port.h"
#include "platform/text.h"

namespace glimmer {
namespace {

std::u16string Decimal(std::int32_t number) { return AsciiToUtf16(std::to_string(number)); }

}  // namespace

std::u16string PerMonitorKeyToWrite(std::u16string_view key, std::int32_t monitor) {
  std::u16string name(key);
  if (monitor > 0) name += Decimal(monitor);
  return name;
}

Node::Value& ReadPerMonitor(Node& settings, std::u16string_view key, std::int32_t monitor) {
  return settings.GetWithFallback(std::u16string(key) + Decimal(monitor), key);
}

std::int32_t ModeBitDepth(std::int32_t format) {
  switch (format) {
    case kD3dFmtA8R8G8B8:
    case kD3dFmtX8R8G8B8:
      return 32;
    case kD3dFmtR5G6B5:
    case kD3dFmtX1R5G5B5:
      return 16;
    default:
      return 0;
  }
}

}  // namespace glimmer
