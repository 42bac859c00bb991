// Resource ids of the host program's own texts (ripplume_host.rc).
#pragma once

#define IDS_RENDERER_MISSING 7100  // the renderer is not beside the host
