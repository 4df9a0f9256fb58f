#pragma once

#include <QtGlobal>

// The hasher's state as a plain member, so that taking a hash allocates nothing.
#define XXH_STATIC_LINKING_ONLY
#include <xxhash.h>

namespace td {

// A hash of a file's contents, taken as its bytes go by (while they are read
// or written) in pieces of any size: the same bytes give the same hash
// however they were cut. XXH3 from Debian's libxxhash: several times faster
// than Qt's own hash, and faster than copying the bytes, so it rides along
// with an Open or a Save almost unseen. Enough to tell another program's
// change from none; not meant to withstand one that forges it.
class ContentHasher {
public:
    ContentHasher()
    {
        XXH3_INITSTATE(&m_state);
        XXH3_64bits_reset(&m_state);
    }
    void add(const char* data, qsizetype size) { XXH3_64bits_update(&m_state, data, size_t(size)); }
    quint64 result() const { return XXH3_64bits_digest(&m_state); }

private:
    XXH3_state_t m_state;
};

}  // namespace td
