#pragma once
// The content of one day's stream in a monthly file: chunks of the daily log, each an
// uncompressed length and a compressed length (unsigned 32-bit little-endian) followed by
// the chunk compressed as one zlib stream. Chunks cover 1,000,000 bytes of the log each.
//
// Streams come from disk and from other machines: the decoder caps both lengths, checks
// them against what is left, and checks that zlib inflated exactly the stated length.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace zelmot::archive {

inline constexpr size_t kChunkSize = 1'000'000;
inline constexpr size_t kCompressCapacity = 1'200'000;
inline constexpr size_t kChunkHeadSize = 8;

// The head and compressed bytes of one chunk of at most kChunkSize bytes, appended to `out`.
// False when zlib fails (only for want of memory).
bool appendCompressedChunk(std::span<const uint8_t> raw, std::vector<uint8_t>& out);

// What the decoder reads a stream through (a compound-file stream or memory).
class ChunkSource {
public:
  virtual ~ChunkSource() = default;
  virtual uint64_t remaining() const = 0;
  // Reads exactly `size` bytes; false when they could not be read.
  virtual bool read(size_t size, uint8_t* into) = 0;
};

class MemoryChunkSource final : public ChunkSource {
public:
  explicit MemoryChunkSource(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  uint64_t remaining() const override { return bytes_.size() - offset_; }
  bool read(size_t size, uint8_t* into) override;

private:
  std::span<const uint8_t> bytes_;
  size_t offset_ = 0;
};

enum class ChunkStatus {
  Chunk,      // `out` holds the next chunk's bytes
  End,        // nothing left
  CutOff,     // the stream ends inside a chunk
  BadLength,  // a length of 0 or above its cap
  BadData,    // zlib refused the bytes or they inflate to another length
  ReadFailed, // the source could not be read
};

// Inflates the next chunk of `source` into `out` (replacing its contents).
ChunkStatus decodeNextChunk(ChunkSource& source, std::vector<uint8_t>& out);

}  // namespace zelmot::archive
