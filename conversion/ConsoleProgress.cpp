#include "conversion/ConsoleProgress.h"

#include "conversion/BatchRun.h"
#include "platform/Console.h"
#include "platform/Paths.h"

void ConsoleProgress::Follow(BatchRun& run)
{
    QObject::connect(&run, &BatchRun::PassStarted, &run, [this](const PassStart& pass) { announce(pass); });
}

void ConsoleProgress::announce(const PassStart& pass) const
{
    if (m_dryRun) {
        WriteLine(stdout, pass.Conversion.Text());
        return;
    }
    WriteLine(stdout, QStringLiteral("[%1/%2] pass %3/%4: %5 -> %6")
                          .arg(pass.FileIndex + 1)
                          .arg(pass.FileCount)
                          .arg(pass.Pass)
                          .arg(pass.Passes)
                          .arg(Paths::ExtractFileName(pass.Source), Paths::ExtractFileName(pass.Target)));
}
