#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace td {

// A hash of a file's contents, taken as its bytes go by (while they are read
// or written) in pieces of any size: the same bytes give the same hash
// however they were cut. Enough to tell another program's change from none,
// not meant to withstand one that forges it.
class ContentHasher {
public:
    ContentHasher();
    void add(const char* data, qsizetype size);
    quint64 result() const;

private:
    void addBlock(const char* block, qsizetype size);

    QByteArray m_partial;  // the start of a block still to come whole
    quint64 m_hash = 0;
    qint64 m_bytes = 0;
};

}  // namespace td
