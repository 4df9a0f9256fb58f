#pragma once

#include <cstddef>

namespace td {

// Asks the system to back a large, freshly allocated buffer that is about to
// be filled with huge pages and to map it at once. Touching new memory page by
// page costs more than filling it (a hundred megabytes of register rows take
// tens of thousands of page faults). Only a hint: nothing changes when the
// system declines.
void adviseFillingSoon(void* data, std::size_t size);

}  // namespace td
