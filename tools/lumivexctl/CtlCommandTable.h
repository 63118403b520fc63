#pragma once
// The commands of lumivexctl, each defined in its own file; main.cpp lists
// them in the order the help shows them.
#include "CtlCommand.h"

extern const CtlCommandEntry kPollCommand;
extern const CtlCommandEntry kSendCommand;
extern const CtlCommandEntry kWatchCommand;
extern const CtlCommandEntry kRefreshCommand;
extern const CtlCommandEntry kReportCommand;
extern const CtlCommandEntry kMailSettingsCommand;
extern const CtlCommandEntry kListCommand;
extern const CtlCommandEntry kImportCommand;
extern const CtlCommandEntry kRemoveCommand;
extern const CtlCommandEntry kDiscoverCommand;
