#pragma once
// The SQL text utilities and script generators in one include.

#include "DelimitedList.h"
#include "IniFile.h"
#include "SqlHistory.h"
#include "TextLines.h"
#include "Words.h"
#include "CreateTable.h"
#include "ExportCommand.h"
#include "ExportToSql.h"
#include "FieldLists.h"
#include "RunnerTexts.h"
#include "Statements.h"
#include "TextExport.h"
