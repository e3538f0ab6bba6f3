#pragma once
// Validation of a set of description files against every rule the loaders rely on. Each
// message names the file and, where it applies, the record (counted from 0) and the field.
#include <string>
#include <vector>

namespace zelmot::model {

// Checks zelmot.tree.const, parameters.zip, zelmot.tree.zip and zelmot.tree.op.zip in
// `dataDir`: presence, gzip soundness, record sizes, texts terminated within their
// fields, enumeration descriptors of at most 127 items, structural positions within
// their tables given the constants (and divisor constants not 0), catalogue references
// in range, child counts within the file, nesting depth, records no branch reaches.
// An empty list means the files are sound.
std::vector<std::string> checkDescriptionFiles(const std::string& dataDir);

}  // namespace zelmot::model
