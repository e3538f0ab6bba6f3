#pragma once
// Reading and writing the four description files at the level of records. The reader of
// each file refuses damaged data with a message naming the file; the writers produce the
// exact byte layout the readers expect, reproducibly (gzip time stamp 0).
#include <cstdint>
#include <string>
#include <vector>

#include "model/description_records.h"

namespace zelmot::model {

// --- gzip members (one deflate stream, RFC 1952) ----------------------------------------
// Compresses with a fixed header (no name, time 0, operating system "unknown") so equal
// input gives equal bytes. Empty result when the data cannot be compressed (larger than
// any description file may be, or zlib failed).
std::vector<uint8_t> gzipCompress(const std::vector<uint8_t>& data);
// Inflates a gzip member or a bare deflate stream. Checks header, inflate result, CRC-32
// and size; false with `error` set when any of them fails.
bool gzipDecompress(const std::vector<uint8_t>& file, std::vector<uint8_t>& data,
                    std::string& error);

// --- zelmot.tree.const ------------------------------------------------------------------
std::vector<uint8_t> encodeConstants(const ConstantsText& constants);
ConstantsText decodeConstants(const std::vector<uint8_t>& file);
// Value of a constant looked up as the device link does (case-insensitive, first wins);
// false when absent.
bool findConstant(const ConstantsText& constants, const std::string& name, int& value);
// The text as the device link reads it: complemented back, cut at the first zero,
// lower-cased and split at spaces, tabs and line feeds (a carriage return stays in a token).
// decodeConstants pairs these tokens; the device link instead takes the token that follows
// the first token equal to a name, which findConstantToken does.
std::vector<std::string> constantsTokens(const std::vector<uint8_t>& file);
bool findConstantToken(const std::vector<std::string>& tokens, const std::string& name,
                       int& value);
// Leading decimal digits with an optional sign, as the C number conversion reads them; 0
// when there are none; saturates instead of overflowing.
int constantValue(const std::string& token);

// --- parameters.zip (uncompressed content) ----------------------------------------------
// False with `error` naming the record and field when a text does not fit its field.
bool encodeCatalogue(const std::vector<CatalogueRecord>& records, std::vector<uint8_t>& bytes,
                     std::string& error);
std::vector<CatalogueRecord> decodeCatalogue(const std::vector<uint8_t>& bytes);

// --- zelmot.tree.zip / zelmot.tree.op.zip (uncompressed content) ------------------------
bool encodeTree(const std::vector<TreeRecord>& records, std::vector<uint8_t>& bytes,
                std::string& error);
std::vector<TreeRecord> decodeTree(const std::vector<uint8_t>& bytes);

// --- whole files ------------------------------------------------------------------------
bool readFileBytes(const std::string& path, std::vector<uint8_t>& bytes, std::string& error);
// Writes through a temporary file and a rename, so a reader never sees half a file.
bool writeFileBytes(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error);

// Reads and unpacks one of the three compressed files. The error names the file.
bool readPackedFile(const std::string& path, std::vector<uint8_t>& data, std::string& error);

bool readConstantsFile(const std::string& path, ConstantsText& constants, std::string& error);
bool writeConstantsFile(const std::string& path, const ConstantsText& constants, std::string& error);
bool readCatalogueFile(const std::string& path, std::vector<CatalogueRecord>& records,
                       std::string& error);
bool writeCatalogueFile(const std::string& path, const std::vector<CatalogueRecord>& records,
                        std::string& error);
bool readTreeFile(const std::string& path, std::vector<TreeRecord>& records, std::string& error);
bool writeTreeFile(const std::string& path, const std::vector<TreeRecord>& records,
                   std::string& error);

// File names inside a data directory.
inline constexpr const char* kConstantsFileName = "zelmot.tree.const";
inline constexpr const char* kCatalogueFileName = "parameters.zip";
inline constexpr const char* kMainTreeFileName = "zelmot.tree.zip";
inline constexpr const char* kMeasurementTreeFileName = "zelmot.tree.op.zip";

}  // namespace zelmot::model
