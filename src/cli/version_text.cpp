#include "cli/version_text.h"

#include <QCryptographicHash>
#include <QFile>

namespace orvane::cli {

std::string versionText(const std::string& dataDirectory) {
    std::string text = "orvane-calc " ORVANE_VERSION "\n";
    for (const char* name : {"elem.txt", "abundances.txt", "masses.txt", "isotopes.txt"}) {
        const std::string path = dataDirectory + "/" + name;
        QFile file(QString::fromStdString(path));
        QCryptographicHash hash(QCryptographicHash::Sha256);
        if (file.open(QIODevice::ReadOnly) && hash.addData(&file)) {
            text += hash.result().toHex().toStdString() + "  " + path + '\n';
        } else {
            text += "missing  " + path + '\n';
        }
    }
    return text;
}

} // namespace orvane::cli
