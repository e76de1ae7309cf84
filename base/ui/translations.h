// The toolkit's own texts (standard dialogs, message-box buttons, the print
// and file dialogs) in Japanese, like the rest of the program.
#pragma once

namespace teluri {

// Installs the toolkit's Japanese translation from the toolkit's
// translations folder. Without it (the translations package missing) the
// standard dialogs stay in English; returns whether it was installed.
bool LoadToolkitTranslations();

}  // namespace teluri
