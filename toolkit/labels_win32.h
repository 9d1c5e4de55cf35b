// Labels keep a pool of solid brushes, one per background colour, beyond their
// records. Private to the toolkit.
#pragma once

// Deletes every brush of the pool.
void release_label_brushes();
