// Writing a monthly file: the old file's streams copied, the day's stream made from its
// log chunk by chunk, the result flushed and synced before anyone renames it into place.
#include <unistd.h>

#include <cstdio>

#include "archive/gsf_handles.h"
#include "archive/monthly_file.h"
#include "archive/stream_chunks.h"
#include "platform/ascii_text.h"

namespace zelmot::archive {
namespace {

namespace fs = std::filesystem;

constexpr size_t kCopyPiece = 64 * 1024;

bool writeBytes(GsfOutput* output, const std::vector<uint8_t>& bytes) {
  return bytes.empty() || gsf_output_write(output, bytes.size(), bytes.data());
}

bool closeChild(GsfOutput* child, bool ok) {
  const bool closed = gsf_output_close(child);
  return ok && closed;
}

MonthlyStatus copyStream(GsfInput* from, GsfOutput* to) {
  std::vector<uint8_t> piece;
  for (gsf_off_t left = gsf_input_remaining(from); left > 0; left = gsf_input_remaining(from)) {
    piece.resize(std::min<size_t>(kCopyPiece, static_cast<size_t>(left)));
    if (gsf_input_read(from, piece.size(), piece.data()) == nullptr) return MonthlyStatus::ReadFailed;
    if (!writeBytes(to, piece)) return MonthlyStatus::WriteFailed;
  }
  return MonthlyStatus::Ok;
}

// Copies every child of `from` into `to`, storages with their contents, leaving out a
// top-level stream named `skip` (ignoring case, as compound files compare names).
MonthlyStatus copyChildren(GsfInfile* from, GsfOutfile* to, const std::string& skip) {
  const int count = gsf_infile_num_children(from);
  for (int i = 0; i < count; ++i) {
    const char* name = gsf_infile_name_by_index(from, i);
    GsfHandle<GsfInput> child(gsf_infile_child_by_index(from, i));
    if (name == nullptr || !child) return MonthlyStatus::ReadFailed;
    const bool storage = isStorage(child.get());
    if (!storage && equalsIgnoreCase(name, skip)) continue;
    GsfHandle<GsfOutput> copy(gsf_outfile_new_child(to, name, storage));
    if (!copy) return MonthlyStatus::WriteFailed;
    MonthlyStatus status = storage ? copyChildren(GSF_INFILE(child.get()), GSF_OUTFILE(copy.get()), {})
                                   : copyStream(child.get(), copy.get());
    if (!closeChild(copy.get(), status == MonthlyStatus::Ok) && status == MonthlyStatus::Ok) {
      status = MonthlyStatus::WriteFailed;
    }
    if (status != MonthlyStatus::Ok) return status;
  }
  return MonthlyStatus::Ok;
}

// The log's bytes in chunks of kChunkSize, each compressed with its two length words.
MonthlyStatus writeLogStream(const fs::path& logPath, GsfOutput* stream) {
  std::FILE* log = std::fopen(logPath.c_str(), "rbe");
  if (log == nullptr) return MonthlyStatus::ReadFailed;
  std::vector<uint8_t> raw(kChunkSize);
  std::vector<uint8_t> packed;
  packed.reserve(kChunkHeadSize + kCompressCapacity);
  MonthlyStatus status = MonthlyStatus::Ok;
  for (;;) {
    const size_t got = std::fread(raw.data(), 1, raw.size(), log);
    if (got == 0) break;
    packed.clear();
    if (!appendCompressedChunk({raw.data(), got}, packed)) status = MonthlyStatus::WriteFailed;
    else if (!writeBytes(stream, packed)) status = MonthlyStatus::WriteFailed;
    if (status != MonthlyStatus::Ok) break;
  }
  if (status == MonthlyStatus::Ok && std::ferror(log)) status = MonthlyStatus::ReadFailed;
  std::fclose(log);
  return status;
}

MonthlyStatus writeCompound(GsfOutfile* out, const fs::path& oldPath, const fs::path& logPath,
                            const std::string& streamName) {
  bool missing = false;
  GsfHandle<GsfInfile> old = openCompoundFile(oldPath, &missing);
  if (!old && !missing) return MonthlyStatus::NotCompound;
  if (old) {
    const MonthlyStatus copied = copyChildren(old.get(), out, streamName);
    if (copied != MonthlyStatus::Ok) return copied;
  }
  GsfHandle<GsfOutput> stream(gsf_outfile_new_child(out, streamName.c_str(), FALSE));
  if (!stream) return MonthlyStatus::WriteFailed;
  const MonthlyStatus written = writeLogStream(logPath, stream.get());
  if (!closeChild(stream.get(), written == MonthlyStatus::Ok) && written == MonthlyStatus::Ok) {
    return MonthlyStatus::WriteFailed;
  }
  return written;
}

}  // namespace

MonthlyStatus writeMonthlyWithLog(const fs::path& oldPath, const fs::path& logPath,
                                  const std::string& streamName, const fs::path& newPath) {
  if (!isValidStreamName(streamName)) return MonthlyStatus::BadName;
  std::FILE* file = std::fopen(newPath.c_str(), "wbe");
  if (file == nullptr) return MonthlyStatus::WriteFailed;
  MonthlyStatus status = MonthlyStatus::WriteFailed;
  {
    GsfHandle<GsfOutput> sink(gsf_output_stdio_new_FILE(newPath.c_str(), file, TRUE));
    GsfHandle<GsfOutfile> out(sink ? gsf_outfile_msole_new(sink.get()) : nullptr);
    if (out) {
      status = writeCompound(out.get(), oldPath, logPath, streamName);
      // The compound writer may leave its sink open; a sink closed twice reports an error.
      bool closed = gsf_output_close(GSF_OUTPUT(out.get()));
      if (!gsf_output_is_closed(sink.get())) closed = gsf_output_close(sink.get()) && closed;
      if (status == MonthlyStatus::Ok && !closed) status = MonthlyStatus::WriteFailed;
    }
  }
  const bool synced = std::fflush(file) == 0 && ::fsync(fileno(file)) == 0;
  if (std::fclose(file) != 0 || !synced) {
    if (status == MonthlyStatus::Ok) status = MonthlyStatus::WriteFailed;
  }
  return status;
}

}  // namespace zelmot::archive
