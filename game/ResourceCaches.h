#pragma once

// Releases the media caches that live until the event loop has ended: the
// four sounds, then the two cursors. The pictures stay.
void ReleaseResourceCaches();
