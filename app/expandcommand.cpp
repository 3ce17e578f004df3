// `corvane expand TEMPLATE [--readings FILE]`: a page template expanded on standard output.
#include "app/commands.h"

#include "core/clock.h"
#include "publishing/templatepreview.h"

#include <cstdio>

int runExpand(const QStringList &args)
{
    QString templatePath;
    QString readingsPath;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        if (a == QLatin1String("--readings") && i + 1 < args.size()) {
            readingsPath = args.at(++i);
        } else if (!a.startsWith(QLatin1String("--")) && templatePath.isEmpty()) {
            templatePath = a;
        } else {
            std::fprintf(stderr, "corvane expand: unexpected argument %s\n", qPrintable(a));
            templatePath.clear();
            break;
        }
    }
    if (templatePath.isEmpty()) {
        std::fputs("Usage: corvane expand TEMPLATE [--readings FILE]\n", stderr);
        return 2;
    }

    SystemClock clock;
    // The page goes out as it is expanded, never whole in memory: the template's 8-bit
    // text is passed through unchanged.
    const auto write = [](QByteArrayView piece) {
        return std::fwrite(piece.data(), 1, size_t(piece.size()), stdout) == size_t(piece.size());
    };
    const PreviewResult result = previewTemplate(templatePath, readingsPath, clock, write);
    for (const QString &w : result.warnings)
        std::fprintf(stderr, "corvane expand: %s\n", qPrintable(w));
    if (!result.error.isEmpty()) {
        std::fprintf(stderr, "corvane expand: %s\n", qPrintable(result.error));
        return 1;
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
