// check-catalogues FILE.ts...: lists every fault of the catalogues (see CatalogueCheck.h) and
// exits 1 when there is one, so that the build's test fails on an incomplete translation.
#include <QFile>
#include <cstdio>

#include "translations/CatalogueCheck.h"

int main(int argc, char** argv) {
    int faults = 0;
    for (int i = 1; i < argc; ++i) {
        QFile file(QString::fromLocal8Bit(argv[i]));
        QStringList problems;
        if (file.open(QIODevice::ReadOnly))
            problems = translations::catalogueProblems(QString::fromUtf8(file.readAll()));
        else
            problems << QStringLiteral("cannot be read");
        for (const QString& problem : problems)
            std::fprintf(stderr, "%s: %s\n", argv[i], problem.toUtf8().constData());
        faults += static_cast<int>(problems.size());
    }
    return faults == 0 ? 0 : 1;
}
