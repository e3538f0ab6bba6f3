// Feeds arbitrary bytes to the monthly archive readers: as the content of one day's stream
// (chunk heads with any lengths) and as a whole compound file, whose every stream is
// listed and unpacked. Nothing may read past its data or inflate beyond a chunk's cap.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "archive/monthly_file.h"
#include "archive/stream_chunks.h"
#include "temp_input.h"

namespace {

void decodeAsStream(const uint8_t* data, size_t size) {
  zelmot::archive::MemoryChunkSource source({data, size});
  std::vector<uint8_t> chunk;
  while (zelmot::archive::decodeNextChunk(source, chunk) == zelmot::archive::ChunkStatus::Chunk) {
    if (chunk.empty() || chunk.size() > zelmot::archive::kChunkSize) std::abort();
  }
}

void unpackEveryStream(const std::filesystem::path& file) {
  const std::filesystem::path target = file.string() + ".out";
  const zelmot::archive::StreamListing listing = zelmot::archive::listStreams(file);
  int unpacked = 0;
  for (const zelmot::archive::StreamEntry& stream : listing.streams) {
    if (++unpacked > 8) break;
    zelmot::archive::unpackStream(file, stream.name, target);
  }
  std::error_code error;
  std::filesystem::remove_all(target, error);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  decodeAsStream(data, size);
  unpackEveryStream(zelmot::fuzz::writeTempInput("monthly.var", data, size));
  return 0;
}
