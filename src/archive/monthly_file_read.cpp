// Reading monthly files: listing, unpacking a day to a file, reading a day into memory.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "archive/gsf_handles.h"
#include "archive/monthly_file.h"
#include "archive/stream_chunks.h"
#include "platform/ascii_text.h"
#include "platform/paths.h"

namespace zelmot::archive {
namespace {

namespace fs = std::filesystem;

class GsfChunkSource final : public ChunkSource {
public:
  explicit GsfChunkSource(GsfInput* input) : input_(input) {}
  uint64_t remaining() const override {
    const gsf_off_t left = gsf_input_remaining(input_);
    return left > 0 ? static_cast<uint64_t>(left) : 0;
  }
  bool read(size_t size, uint8_t* into) override {
    return gsf_input_read(input_, size, into) != nullptr;
  }

private:
  GsfInput* input_;
};

MonthlyStatus statusOfChunk(ChunkStatus status) {
  return status == ChunkStatus::ReadFailed ? MonthlyStatus::ReadFailed : MonthlyStatus::Damaged;
}

// Feeds every inflated chunk of the stream to `take`; stops at the first failure.
template <typename Take>
MonthlyStatus inflateStream(GsfInput* stream, Take&& take) {
  GsfChunkSource source(stream);
  std::vector<uint8_t> chunk;
  for (;;) {
    const ChunkStatus status = decodeNextChunk(source, chunk);
    if (status == ChunkStatus::End) return MonthlyStatus::Ok;
    if (status != ChunkStatus::Chunk) return statusOfChunk(status);
    if (!take(chunk)) return MonthlyStatus::WriteFailed;
  }
}

struct OpenedStream {
  MonthlyStatus status = MonthlyStatus::Ok;
  GsfHandle<GsfInfile> file;
  GsfHandle<GsfInput> stream;
};

OpenedStream openStream(const fs::path& monthlyPath, const std::string& streamName) {
  OpenedStream opened;
  bool missing = false;
  opened.file = openCompoundFile(monthlyPath, &missing);
  if (!opened.file) {
    opened.status = missing ? MonthlyStatus::Missing : MonthlyStatus::NotCompound;
    return opened;
  }
  const int count = gsf_infile_num_children(opened.file.get());
  for (int i = 0; i < count; ++i) {
    const char* name = gsf_infile_name_by_index(opened.file.get(), i);
    if (name == nullptr || !equalsIgnoreCase(name, streamName)) continue;
    GsfHandle<GsfInput> child(gsf_infile_child_by_index(opened.file.get(), i));
    if (child && !isStorage(child.get())) {
      opened.stream = std::move(child);
      return opened;
    }
  }
  opened.status = MonthlyStatus::NoStream;
  return opened;
}

bool writeAll(std::FILE* file, const std::vector<uint8_t>& bytes) {
  return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
}

// Closes the partial file and moves it to its real name only when everything was written.
MonthlyStatus finishOutput(std::FILE* file, MonthlyStatus status, const fs::path& partial,
                           const fs::path& real) {
  const bool flushed = std::fflush(file) == 0 && ::fsync(fileno(file)) == 0;
  const bool closed = std::fclose(file) == 0;
  if (status == MonthlyStatus::Ok && (!flushed || !closed)) status = MonthlyStatus::WriteFailed;
  if (status == MonthlyStatus::Ok && std::rename(partial.c_str(), real.c_str()) != 0) {
    status = MonthlyStatus::WriteFailed;
  }
  if (status != MonthlyStatus::Ok) ::unlink(partial.c_str());
  return status;
}

}  // namespace

std::string monthlyStatusText(MonthlyStatus status) {
  switch (status) {
    case MonthlyStatus::Ok: return "выполнено";
    case MonthlyStatus::Missing: return "файл не найден";
    case MonthlyStatus::NotCompound: return "файл не является архивом";
    case MonthlyStatus::NoStream: return "в архиве нет такого дня";
    case MonthlyStatus::Damaged: return "архив поврежден";
    case MonthlyStatus::ReadFailed: return "ошибка чтения файла";
    case MonthlyStatus::WriteFailed: return "ошибка записи в файл";
    case MonthlyStatus::BadName: return "недопустимое имя";
  }
  return {};
}

bool isCompoundFile(const fs::path& path) { return openCompoundFile(path) != nullptr; }

bool isValidStreamName(const std::string& name) {
  return !name.empty() && name.size() <= 31 && name != "." && name != ".." &&
         name.find('/') == std::string::npos && name.find('\0') == std::string::npos;
}

StreamListing listStreams(const fs::path& monthlyPath) {
  StreamListing listing;
  bool missing = false;
  GsfHandle<GsfInfile> file = openCompoundFile(monthlyPath, &missing);
  if (!file) {
    listing.status = missing ? MonthlyStatus::Missing : MonthlyStatus::NotCompound;
    return listing;
  }
  const int count = gsf_infile_num_children(file.get());
  for (int i = 0; i < count; ++i) {
    GsfHandle<GsfInput> child(gsf_infile_child_by_index(file.get(), i));
    const char* name = gsf_infile_name_by_index(file.get(), i);
    if (!child || name == nullptr || isStorage(child.get())) continue;
    listing.streams.push_back({name, static_cast<uint64_t>(gsf_input_size(child.get()))});
  }
  std::sort(listing.streams.begin(), listing.streams.end(),
            [](const StreamEntry& a, const StreamEntry& b) { return a.name < b.name; });
  return listing;
}

UnpackResult unpackStream(const fs::path& monthlyPath, const std::string& streamName,
                          const fs::path& targetFolder) {
  UnpackResult result;
  if (!isValidStreamName(streamName)) return {MonthlyStatus::BadName, {}, 0};
  result.file = targetFolder / streamName;
  OpenedStream opened = openStream(monthlyPath, streamName);
  if (opened.status != MonthlyStatus::Ok) return {opened.status, result.file, 0};
  if (!ensureDir(targetFolder)) return {MonthlyStatus::WriteFailed, result.file, 0};

  const fs::path partial = targetFolder / ("." + streamName + ".part");
  std::FILE* file = std::fopen(partial.c_str(), "wbe");
  if (file == nullptr) return {MonthlyStatus::WriteFailed, result.file, 0};
  MonthlyStatus status = inflateStream(opened.stream.get(), [&](const std::vector<uint8_t>& chunk) {
    result.bytes += chunk.size();
    return writeAll(file, chunk);
  });
  result.status = finishOutput(file, status, partial, result.file);
  return result;
}

MonthlyStatus readStream(const fs::path& monthlyPath, const std::string& streamName,
                         std::vector<uint8_t>& bytes) {
  bytes.clear();
  OpenedStream opened = openStream(monthlyPath, streamName);
  if (opened.status != MonthlyStatus::Ok) return opened.status;
  const MonthlyStatus status = inflateStream(opened.stream.get(), [&](const std::vector<uint8_t>& chunk) {
    bytes.insert(bytes.end(), chunk.begin(), chunk.end());
    return true;
  });
  if (status != MonthlyStatus::Ok) bytes.clear();
  return status;
}

}  // namespace zelmot::archive
