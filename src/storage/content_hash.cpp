#include "content_hash.h"

#include <QHashFunctions>
#include <cstring>

namespace td {

namespace {

// Blocks are hashed at fixed offsets, so any cut gives the same blocks; a
// piece that ends inside one keeps at most this much for the next.
constexpr qsizetype kBlock = 64 * 1024;

}  // namespace

ContentHasher::ContentHasher() { m_partial.reserve(kBlock); }

// Each block is hashed with seed 0, which leaves out the process's random
// hash seed: a hash stays the same for the program's whole run.
void ContentHasher::addBlock(const char* block, qsizetype size)
{
    m_hash = qHashMulti(0, m_hash, qHashBits(block, size_t(size), 0));
}

void ContentHasher::add(const char* data, qsizetype size)
{
    m_bytes += size;
    if (!m_partial.isEmpty()) {
        const qsizetype taken = qMin(size, kBlock - m_partial.size());
        m_partial.append(data, taken);
        data += taken;
        size -= taken;
        if (m_partial.size() < kBlock)
            return;
        addBlock(m_partial.constData(), kBlock);
        m_partial.truncate(0);
    }
    for (; size >= kBlock; data += kBlock, size -= kBlock)
        addBlock(data, kBlock);
    m_partial.append(data, size);
}

quint64 ContentHasher::result() const
{
    return qHashMulti(
        0, m_hash, m_partial.isEmpty() ? 0 : qHashBits(m_partial.constData(), m_partial.size(), 0), m_bytes);
}

}  // namespace td
