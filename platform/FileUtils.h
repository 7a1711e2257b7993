#pragma once

#include <QString>

namespace tvx {

class FileUtils {
public:
    // The folder that holds "Resources/": $ORBITRAX_RESOURCE_DIR when set, else the executable's
    // folder when it holds "Resources/" (a build tree), else the installed data folder.
    static QString applicationResourceFolder();
};

} // namespace tvx
