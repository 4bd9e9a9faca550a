// Writes the sample clip art metafile: quillmark-wmf-sample FILE.wmf
// The picture is described in src/picture/TWmfSample.h.

#include "picture/TWmfSample.h"

#include <QFile>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: quillmark-wmf-sample FILE.wmf\n");
        return 2;
    }
    QFile file(QString::fromLocal8Bit(argv[1]));
    const QByteArray bytes = qm::picture::TWmfSample::ClipArt();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s: %s\n", argv[1], qPrintable(file.errorString()));
        return 1;
    }
    return 0;
}
