#include "dialog/error_box.h"

#include "platform/product.h"

namespace glimmer {

void ShowRegistryWriteError(UiPort& ui, const TextCatalog& catalog, WindowHandle owner) {
  ui.MessageBox(owner, catalog.Translate(kRegistryWriteErrorMessage),
                catalog.Translate(kErrorCaption), kMbOk | kMbIconError);
}

}  // namespace glimmer
