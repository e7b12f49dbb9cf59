// What memFree makes of a pointer that is not a live block of the tracker:
// a block of the plain heap, which free() may take, or something free() must
// never see (a block freed twice, a pointer into a block, no heap memory).
#pragma once

#include "header_record.h"

namespace heaptally {

// Whether block, whose header state in headers is not kLive, is a block of
// the plain heap. Where the record knows a freed header, the block was freed
// twice, unless the heap has since handed out that memory as a plain block
// that starts just there (no marks in front of it): then the note of the
// freed header is dropped. The words are read checked, since the heap may
// have unmapped them. Otherwise the pointer never had a header of ours in
// front of it: it is a plain block unless the words before it look like a
// header (a pointer into a block). A block with nothing mapped in front of it
// is plain too: some heaps place large blocks at the start of a mapping.
bool is_plain_block(HeaderRecord& headers, const void* block, HeaderState state);

}  // namespace heaptally
