#pragma once

#include <string>

namespace kvengine {
class CCSpriteBatchNode;
}

/// Loads sheet `sheetName` ("<name>.plist" with "<name>.pvr.ccz", both found through the resource
/// index): its frames go to the frame cache, and the answer is a batch node over its texture
/// (autoreleased). Null, with a log line that starts with `owner`, when a file is missing or the
/// texture cannot be loaded.
kvengine::CCSpriteBatchNode* kvLoadSheetBatch(const std::string& sheetName, const char* owner);
