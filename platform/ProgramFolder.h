#pragma once

#include <QString>

// The folder of the running executable, without trailing separator (the root stays "/").
QString ProgramFolder();
