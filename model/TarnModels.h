#pragma once

// Everything of the data model and the wire protocol.
#include "model/TarnAgentMessages.h"
#include "model/TarnCommandNames.h"
#include "model/TarnDate.h"
#include "model/TarnDateCoding.h"
#include "model/TarnDisplayFileModels.h"
#include "model/TarnLocalNetwork.h"
#include "model/TarnRemoteInput.h"
#include "model/TarnUUID.h"
#include "model/TarnWireCodec.h"
#include "model/TarnWireEnvelope.h"
#include "model/TarnWireGreetingMessages.h"
#include "model/TarnWireKind.h"
#include "model/TarnWireLineDecoder.h"
#include "model/TarnWireOneShotCommand.h"
#include "model/TarnWireScreenFileMessages.h"
#include "model/TarnWireTerminalMessages.h"
