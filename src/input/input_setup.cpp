#include "input/input_setup.h"

namespace vdx {

int InitInput(platform::Platform& platform) {
  platform.initInput();
  return platform.controllerCount();
}

}  // namespace vdx
