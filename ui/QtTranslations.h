// Qt's own texts in the program's language: the program speaks Simplified
// Chinese, so the standard buttons of its boxes (是, 否, 取消, 确定) and the
// open, save and print dialogs do too, whatever the desktop's language.
#pragma once

class QCoreApplication;

namespace nm {

// Installs Qt's translations for Simplified Chinese (qtbase_zh_CN.qm, from
// Qt's translations folder) into `app`. False when Qt has none installed: its
// texts then stay in English.
bool LoadQtTranslations(QCoreApplication& app);

} // namespace nm
