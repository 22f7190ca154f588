#include "controls/MCCBox.h"
