/* The product's name and copyright line, shared by the code (window title and texts) and the resource script
   (the version block Windows shows under the file's properties). Plain #defines: windres reads this file too. */
#ifndef VEXILOR_PRODUCT_TEXTS_H
#define VEXILOR_PRODUCT_TEXTS_H

#define VEX_PRODUCT_CAPTION "Vexilor Ver 1.0"
#define VEX_COPYRIGHT_TEXT "Copyright (C) Tarnwick Software. All rights reserved."

#endif
