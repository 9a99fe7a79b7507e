#include "fakes/fake_resources.h"

namespace glimmer::fakes {

void FakeResources::Put(std::uint16_t id, std::uint16_t type, std::vector<std::uint8_t> bytes) {
  resources_[{id, type}] = std::move(bytes);
}

void FakeResources::Put(std::uint16_t id, std::uint16_t type, std::string_view bytes) {
  Put(id, type, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

bool FakeResources::FindResourceBytes(std::uint16_t id, std::uint16_t type,
                                      const std::uint8_t*& data, std::uint32_t& size) {
  const auto found = resources_.find({id, type});
  if (found == resources_.end()) return false;
  // A resource of no bytes still has an address, as a real one does.
  static const std::uint8_t kNothing = 0;
  data = found->second.empty() ? &kNothing : found->second.data();
  size = static_cast<std::uint32_t>(found->second.size());
  return true;
}

}  // namespace glimmer::fakes
