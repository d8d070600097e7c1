#include "res/resource_archive.h"
ResourceArchive* resourceArchive = nullptr;
ResourceArchive* openResourceArchive() {
  if (resourceArchive == nullptr) resourceArchive = new ResourceArchive("gyrotide.zap");
  return resourceArchive;
}
