#include "archive/stream_chunks.h"

#include <zlib.h>

#include <cstring>

namespace zelmot::archive {
namespace {

void putWord(std::vector<uint8_t>& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

uint32_t wordAt(const uint8_t* bytes) {
  uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value |= static_cast<uint32_t>(bytes[i]) << (8 * i);
  return value;
}

}  // namespace

bool appendCompressedChunk(std::span<const uint8_t> raw, std::vector<uint8_t>& out) {
  std::vector<uint8_t> packed(kCompressCapacity);
  uLongf packedSize = static_cast<uLongf>(packed.size());
  if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()),
                Z_DEFAULT_COMPRESSION) != Z_OK) {
    return false;
  }
  putWord(out, static_cast<uint32_t>(raw.size()));
  putWord(out, static_cast<uint32_t>(packedSize));
  out.insert(out.end(), packed.begin(), packed.begin() + static_cast<ptrdiff_t>(packedSize));
  return true;
}

bool MemoryChunkSource::read(size_t size, uint8_t* into) {
  if (size > remaining()) return false;
  std::memcpy(into, bytes_.data() + offset_, size);
  offset_ += size;
  return true;
}

ChunkStatus decodeNextChunk(ChunkSource& source, std::vector<uint8_t>& out) {
  const uint64_t left = source.remaining();
  if (left == 0) return ChunkStatus::End;
  if (left < kChunkHeadSize) return ChunkStatus::CutOff;
  uint8_t head[kChunkHeadSize];
  if (!source.read(kChunkHeadSize, head)) return ChunkStatus::ReadFailed;
  const uint32_t rawSize = wordAt(head);
  const uint32_t packedSize = wordAt(head + 4);
  if (rawSize == 0 || rawSize > kChunkSize || packedSize == 0 || packedSize > kCompressCapacity) {
    return ChunkStatus::BadLength;
  }
  if (packedSize > source.remaining()) return ChunkStatus::CutOff;
  std::vector<uint8_t> packed(packedSize);
  if (!source.read(packed.size(), packed.data())) return ChunkStatus::ReadFailed;

  out.resize(rawSize);
  uLongf inflated = rawSize;
  uLong consumed = packedSize;
  const int result = uncompress2(out.data(), &inflated, packed.data(), &consumed);
  // Bytes after the end of the zlib stream are as suspect as a short result.
  if (result != Z_OK || inflated != rawSize || consumed != packedSize) return ChunkStatus::BadData;
  return ChunkStatus::Chunk;
}

}  // namespace zelmot::archive
