// The program's resources in memory: bytes by identifier and type.
#pragma once

#include <cstdint>
#include <map>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/ports.h"

namespace glimmer::fakes {

class FakeResources : public ResourcePort {
 public:
  void Put(std::uint16_t id, std::uint16_t type, std::vector<std::uint8_t> bytes);
  void Put(std::uint16_t id, std::uint16_t type, std::string_view bytes);

  bool FindResourceBytes(std::uint16_t id, std::uint16_t type, const std::uint8_t*& data,
                         std::uint32_t& size) override;

 private:
  std::map<std::pair<std::uint16_t, std::uint16_t>, std::vector<std::uint8_t>> resources_;
};

}  // namespace glimmer::fakes
