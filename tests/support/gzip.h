// Text compressed as gzip writes it, for the tests of compressed element files.
#pragma once

#include <zlib.h>

#include <stdexcept>
#include <string>

namespace kestrova::testing {

// One gzip member holding text.
inline std::string Gzip(const std::string& text) {
  z_stream zs{};
  if (deflateInit2(&zs, 6, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK)
    throw std::runtime_error("deflateInit2");
  std::string out(deflateBound(&zs, static_cast<uLong>(text.size())) + 64, '\0');
  zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
  zs.avail_in = static_cast<uInt>(text.size());
  zs.next_out = reinterpret_cast<Bytef*>(out.data());
  zs.avail_out = static_cast<uInt>(out.size());
  const int rc = deflate(&zs, Z_FINISH);
  out.resize(zs.total_out);
  deflateEnd(&zs);
  if (rc != Z_STREAM_END) throw std::runtime_error("deflate");
  return out;
}

}  // namespace kestrova::testing
