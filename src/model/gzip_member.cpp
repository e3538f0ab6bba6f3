// gzip members (RFC 1952) holding one deflate stream, and bare deflate streams.
#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "model/description_files.h"
#include "platform/byte_order.h"

namespace zelmot::model {

namespace {

constexpr uint8_t kMagic0 = 0x1F;
constexpr uint8_t kMagic1 = 0x8B;
constexpr uint8_t kMethodDeflate = 8;
constexpr uint8_t kFlagHeaderCrc = 0x02;
constexpr uint8_t kFlagExtra = 0x04;
constexpr uint8_t kFlagName = 0x08;
constexpr uint8_t kFlagComment = 0x10;
constexpr uint8_t kReservedFlags = 0xE0;
constexpr uint8_t kOsUnknown = 0xFF;
constexpr size_t kFixedHeaderSize = 10;
constexpr size_t kTrailerSize = 8;
// No description file comes near this; a larger declared size is damage, not data.
constexpr size_t kMaxInflatedSize = 256u * 1024 * 1024;
// Deflate cannot expand better than about 1032:1; anything above is a forged size.
constexpr size_t kMaxDeflateRatio = 1032;

void appendLe32(std::vector<uint8_t>& out, uint32_t value) {
  out.resize(out.size() + 4);
  storeLittleEndian32(out.data() + out.size() - 4, value);
}

uint32_t crc32Of(const uint8_t* data, size_t size) {
  uLong crc = crc32(0L, Z_NULL, 0);
  while (size > 0) {
    const uInt chunk = size > 0x40000000u ? 0x40000000u : static_cast<uInt>(size);
    crc = crc32(crc, data, chunk);
    data += chunk;
    size -= chunk;
  }
  return static_cast<uint32_t>(crc);
}

// Skips a zero-terminated header text; false when the file ends before its zero.
bool skipHeaderText(const std::vector<uint8_t>& file, size_t& pos) {
  while (pos < file.size() && file[pos] != 0) ++pos;
  if (pos >= file.size()) return false;
  ++pos;
  return true;
}

// Parses the member header; on success `pos` is the first byte of the deflate data.
bool parseHeader(const std::vector<uint8_t>& file, size_t& pos, std::string& error) {
  if (file.size() < kFixedHeaderSize + kTrailerSize) {
    error = "файл слишком короткий для сжатых данных gzip";
    return false;
  }
  if (file[2] != kMethodDeflate) {
    error = "неизвестный метод сжатия " + std::to_string(file[2]);
    return false;
  }
  const uint8_t flags = file[3];
  if (flags & kReservedFlags) {
    error = "заголовок gzip содержит неизвестные флаги";
    return false;
  }
  pos = kFixedHeaderSize;
  const std::string cut = "заголовок gzip обрывается";
  if (flags & kFlagExtra) {
    if (file.size() - pos < 2) { error = cut; return false; }
    const size_t extra = loadLittleEndian16(&file[pos]);
    pos += 2;
    if (file.size() - pos < extra) { error = cut; return false; }
    pos += extra;
  }
  if ((flags & kFlagName) && !skipHeaderText(file, pos)) { error = cut; return false; }
  if ((flags & kFlagComment) && !skipHeaderText(file, pos)) { error = cut; return false; }
  if (flags & kFlagHeaderCrc) {
    if (file.size() - pos < 2) { error = cut; return false; }
    const uint32_t stored = loadLittleEndian16(&file[pos]);
    if ((crc32Of(file.data(), pos) & 0xFFFF) != stored) {
      error = "неверная контрольная сумма заголовка gzip";
      return false;
    }
    pos += 2;
  }
  if (file.size() - pos < kTrailerSize) { error = cut; return false; }
  return true;
}

std::string inflateError(int result, const z_stream& stream) {
  if (result == Z_BUF_ERROR) return "сжатые данные обрываются";
  std::string text = "ошибка распаковки";
  if (stream.msg != nullptr) text += std::string(": ") + stream.msg;
  return text;
}

// Inflates the member body into a buffer of the declared size, then checks the trailer.
bool inflateMember(const std::vector<uint8_t>& file, size_t start, std::vector<uint8_t>& data,
                   std::string& error) {
  const uint32_t declared = loadLittleEndian32(file.data() + file.size() - 4);
  const size_t compressed = file.size() - start - kTrailerSize;
  if (declared > kMaxInflatedSize || declared > compressed * kMaxDeflateRatio + 64) {
    error = "заявленный размер данных " + std::to_string(declared) +
            " байт несоразмерен размеру файла";
    return false;
  }
  // One spare byte shows a stream that holds more than the trailer declares.
  std::vector<uint8_t> out(static_cast<size_t>(declared) + 1);
  z_stream stream{};
  if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) {
    error = "не удалось начать распаковку";
    return false;
  }
  stream.next_in = const_cast<Bytef*>(file.data() + start);
  stream.avail_in = static_cast<uInt>(file.size() - start);
  stream.next_out = out.data();
  stream.avail_out = static_cast<uInt>(out.size());
  const int result = inflate(&stream, Z_FINISH);
  const size_t produced = stream.total_out;
  const size_t consumed = stream.total_in;
  if (result != Z_STREAM_END) {
    error = produced > declared ? "распакованных данных больше, чем заявлено в файле"
                                : inflateError(result, stream);
    inflateEnd(&stream);
    return false;
  }
  inflateEnd(&stream);
  const size_t trailer = start + consumed;
  if (file.size() - trailer < kTrailerSize) {
    error = "файл обрывается в завершении gzip";
    return false;
  }
  if (file.size() - trailer > kTrailerSize) {
    error = "после сжатых данных в файле лишние байты";
    return false;
  }
  if (produced != declared || loadLittleEndian32(file.data() + trailer + 4) != declared) {
    error = "размер распакованных данных " + std::to_string(produced) +
            " не совпадает с заявленным " + std::to_string(declared);
    return false;
  }
  if (crc32Of(out.data(), produced) != loadLittleEndian32(file.data() + trailer)) {
    error = "контрольная сумма CRC-32 распакованных данных не совпадает";
    return false;
  }
  out.resize(produced);
  data = std::move(out);
  return true;
}

// A bare deflate stream carries no size: grow the buffer up to the same limit.
bool inflateBare(const std::vector<uint8_t>& file, std::vector<uint8_t>& data,
                 std::string& error) {
  z_stream stream{};
  if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) {
    error = "не удалось начать распаковку";
    return false;
  }
  std::vector<uint8_t> out(std::min(file.size() * 4 + 4096, kMaxInflatedSize));
  stream.next_in = const_cast<Bytef*>(file.data());
  stream.avail_in = static_cast<uInt>(file.size());
  int result = Z_OK;
  while (true) {
    stream.next_out = out.data() + stream.total_out;
    stream.avail_out = static_cast<uInt>(out.size() - stream.total_out);
    result = inflate(&stream, Z_NO_FLUSH);
    if (result != Z_OK || stream.avail_out != 0) break;
    if (out.size() >= kMaxInflatedSize) {
      error = "распакованные данные превышают допустимый размер";
      inflateEnd(&stream);
      return false;
    }
    out.resize(std::min(out.size() * 2, kMaxInflatedSize));
  }
  const size_t produced = stream.total_out;
  const size_t consumed = stream.total_in;
  if (result != Z_STREAM_END) {
    error = result == Z_OK ? std::string("сжатые данные обрываются") : inflateError(result, stream);
    inflateEnd(&stream);
    return false;
  }
  inflateEnd(&stream);
  if (consumed != file.size()) {
    error = "после сжатых данных в файле лишние байты";
    return false;
  }
  out.resize(produced);
  data = std::move(out);
  return true;
}

}  // namespace

std::vector<uint8_t> gzipCompress(const std::vector<uint8_t>& data) {
  std::vector<uint8_t> out = {kMagic0, kMagic1, kMethodDeflate, 0, 0, 0, 0, 0, 2, kOsUnknown};
  z_stream stream{};
  if (data.size() > kMaxInflatedSize ||
      deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) !=
          Z_OK) {
    return {};
  }
  const size_t headerSize = out.size();
  out.resize(headerSize + deflateBound(&stream, static_cast<uLong>(data.size())));
  stream.next_in = const_cast<Bytef*>(data.data());
  stream.avail_in = static_cast<uInt>(data.size());
  stream.next_out = out.data() + headerSize;
  stream.avail_out = static_cast<uInt>(out.size() - headerSize);
  // deflateBound guarantees room for the whole stream, so one call finishes it.
  const int result = deflate(&stream, Z_FINISH);
  out.resize(headerSize + stream.total_out);
  deflateEnd(&stream);
  if (result != Z_STREAM_END) return {};
  appendLe32(out, crc32Of(data.data(), data.size()));
  appendLe32(out, static_cast<uint32_t>(data.size()));
  return out;
}

bool gzipDecompress(const std::vector<uint8_t>& file, std::vector<uint8_t>& data,
                    std::string& error) {
  if (file.empty()) {
    error = "файл пуст";
    return false;
  }
  if (file.size() > kMaxInflatedSize) {
    error = "файл слишком велик";
    return false;
  }
  if (file.size() < 2 || file[0] != kMagic0 || file[1] != kMagic1) {
    return inflateBare(file, data, error);
  }
  size_t start = 0;
  if (!parseHeader(file, start, error)) return false;
  return inflateMember(file, start, data, error);
}

}  // namespace zelmot::model
