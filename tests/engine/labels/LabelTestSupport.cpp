#include "LabelTestSupport.h"

namespace labeltest {

std::string writeFont(const std::string& folder, const std::string& name, const std::string& fnt) {
    kvtest::writeSolidPng(folder + "/" + name + ".png", 64, 64, 255, 255, 255);
    const std::string path = folder + "/" + name + ".fnt";
    kvtest::writeTextFile(path, fnt);
    return path;
}

} // namespace labeltest
