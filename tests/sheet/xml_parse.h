// SPDX-License-Identifier: GPL-3.0-or-later
// Reads a drawing or a sheet back with Qt's XML reader: what a strict
// reader makes of it, and the parts the tests look at.
#pragma once

#include <QString>
#include <QXmlStreamReader>
#include <map>
#include <string>

namespace veltrane::sheet::test {

struct Parsed {
    std::map<QString, QString> pathById;  // id → d
    std::map<QString, int> elementCount;
    QString allText;
    QString rootVersion;
    QString rootNamespace;
    bool error = false;
};

inline Parsed Parse(const std::string& svg) {
    Parsed p;
    QXmlStreamReader xml(QByteArray::fromStdString(svg));
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement) {
            ++p.elementCount[xml.name().toString()];
            const auto attrs = xml.attributes();
            if (xml.name() == u"svg") {
                p.rootVersion = attrs.value("version").toString();
                p.rootNamespace = xml.namespaceUri().toString();
            }
            if (xml.name() == u"path") {
                p.pathById[attrs.value("id").toString()] = attrs.value("d").toString();
            }
        } else if (xml.isCharacters()) {
            p.allText += xml.text();
        }
    }
    p.error = xml.hasError();
    return p;
}

}  // namespace veltrane::sheet::test
