#pragma once
// Relative file and folder names; each user says against which folder it is resolved.

inline constexpr const char* ORVEX_INI_FILE = "System/configuration.ini";
inline constexpr const char* PRESETS_MODEL_DIR = "System/Presets/Models/";
inline constexpr const char* PRESETS_OPTIM_DIR = "System/Presets/Optimisation/";
inline constexpr const char* PRESETS_VALID_DIR = "System/Presets/Validation/";
inline constexpr const char* FUNC_XML_FILE = "functions.xml";
inline constexpr const char* PHASE_XML_FILE = "phase.xml";
inline constexpr const char* ORVEX_RESOURCES = "System/Resources/";
inline constexpr const char* ERRLOG_PATH = "System/Log/Error/";
inline constexpr const char* N_ERRLOG = "errlog.txt";

// Optimisation level the daily run passes to every response function.
inline constexpr int OPTIM_LVL = -1;
// The staged search prints its progress lines only outside console mode.
inline constexpr bool CONSOLE_MODE = false;
