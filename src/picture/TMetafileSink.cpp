#include "picture/TMetafileSink.h"

namespace qm::picture {

TMetafileSink::~TMetafileSink() = default;

} // namespace qm::picture
