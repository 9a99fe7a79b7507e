#include "platform/ports.h"

namespace glimmer {

Ports& CurrentPorts() {
  static Ports ports;
  return ports;
}

}  // namespace glimmer
