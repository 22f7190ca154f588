#pragma once

// Starts Korumi: the application object, the main window and the event loop.
int RunKorumi(int argc, char** argv);
