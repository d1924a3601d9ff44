/* Layers, art, paths, styles, art sets and the pathfinder. */
#ifndef QUILTOR_HOSTAPI_AIARTSUITES_H
#define QUILTOR_HOSTAPI_AIARTSUITES_H

#include "AITypes.h"

AIAPI_BEGIN

/* Paint orders: where a new or moved object goes relative to a reference. */
enum {
    kPlaceDefault = 0,
    kPlaceAbove = 1,
    kPlaceBelow = 2,
    kPlaceInsideOnTop = 3,
    kPlaceInsideOnBottom = 4,
    kPlaceAboveAll = 5,
    kPlaceBelowAll = 6
};

/* Art types (GetArtType). */
enum {
    kUnknownArt = 0,
    kGroupArt = 1,
    kPathArt = 2,
    kCompoundPathArt = 3,
    kTextArtUnsupported = 4,
    kTextPathArtUnsupported = 5,
    kTextRunArtUnsupported = 6,
    kPlacedArt = 7,
    kMysteryPathArt = 8,
    kRasterArt = 9,
    kPluginArt = 10,
    kMeshArt = 11,
    kTextFrameArt = 12,
    kSymbolArt = 13,
    kForeignArt = 14,
    kLegacyTextArt = 15
};

/* User attributes (GetArtUserAttr / SetArtUserAttr masks). */
enum { kArtSelected = 0x1, kArtLocked = 0x2, kArtHidden = 0x4, kArtFullySelected = 0x8 };

/* ---------------------------------------------------------------- Layers */
#define kAILayerSuite "AI Layer Suite"
#define kAILayerSuiteVersion 1012
typedef struct AILayerSuite {
    /* Fills *count with the number of top-level layers of the current document; kNoDocumentErr without one. */
    AIErr (*CountLayers)(int32_t* count);
    /* Fills *layer with the n-th top-level layer from the top; kIndexOutOfRangeErr and null past the end. */
    AIErr (*GetNthLayer)(int32_t n, AILayerHandle* layer);
    /* Fills *layer with the current layer (where new art goes), or null without a document. */
    AIErr (*GetCurrentLayer)(AILayerHandle* layer);
    /* Makes the layer the current one; kBadParameterErr for an unknown layer. */
    AIErr (*SetCurrentLayer)(AILayerHandle layer);
    /* Fills *first with the topmost top-level layer, or null when the document has none. */
    AIErr (*GetFirstLayer)(AILayerHandle* first);
    /* Fills *next with the next layer below at the same level, or null after the last. */
    AIErr (*GetNextLayer)(AILayerHandle prev, AILayerHandle* next);
    /* Fills *prev with the layer above at the same level, or null before the first. */
    AIErr (*GetPrevLayer)(AILayerHandle next, AILayerHandle* prev);
    /* Fills *layer with the first layer in preorder whose title equals title; null and kNameNotFoundErr when none. */
    AIErr (*GetLayerByTitle)(AILayerHandle* layer, AIUnicodeStringRef title);
    /* Creates a layer placed by paintOrder: with a null reference kPlaceAboveAll/kPlaceBelowAll among the
     * top-level layers; with a reference kPlaceAbove/kPlaceBelow beside it or kPlaceInsideOnTop/OnBottom
     * among its sublayers. Fills *newLayer; kBadParameterErr and null for an order that does not fit. */
    AIErr (*InsertLayer)(AILayerHandle layer, int16_t paintOrder, AILayerHandle* newLayer);
    /* Deletes the layer with its sublayers and art; kBadParameterErr for an unknown layer. */
    AIErr (*DeleteLayer)(AILayerHandle layer);
    /* Replaces the contents of title with the layer's title. */
    AIErr (*GetLayerTitle)(AILayerHandle layer, AIUnicodeStringRef title);
    /* Sets the layer's title from title. */
    AIErr (*SetLayerTitle)(AILayerHandle layer, AIUnicodeStringRef title);
    /* The six layer options: each getter fills *value, each setter stores value. kBadParameterErr for an unknown layer. */
    AIErr (*GetLayerVisible)(AILayerHandle layer, AIBoolean* visible);
    AIErr (*SetLayerVisible)(AILayerHandle layer, AIBoolean visible);
    AIErr (*GetLayerPreview)(AILayerHandle layer, AIBoolean* preview);
    AIErr (*SetLayerPreview)(AILayerHandle layer, AIBoolean preview);
    AIErr (*GetLayerEditable)(AILayerHandle layer, AIBoolean* editable);
    AIErr (*SetLayerEditable)(AILayerHandle layer, AIBoolean editable);
    AIErr (*GetLayerPrinted)(AILayerHandle layer, AIBoolean* printed);
    AIErr (*SetLayerPrinted)(AILayerHandle layer, AIBoolean printed);
    AIErr (*GetLayerDimPlacedImages)(AILayerHandle layer, AIBoolean* dimmed);
    AIErr (*SetLayerDimPlacedImages)(AILayerHandle layer, AIBoolean dimmed);
    AIErr (*GetLayerIsTemplate)(AILayerHandle layer, AIBoolean* isTemplate);
    AIErr (*SetLayerIsTemplate)(AILayerHandle layer, AIBoolean isTemplate);
    /* Fills *hasArt with whether the layer's own group holds any art (sublayers not counted). */
    AIErr (*LayerHasArt)(AILayerHandle layer, AIBoolean* hasArt);
    /* Fills *hasSel with whether any art of the layer's own group is selected. */
    AIErr (*LayerHasSelectedArt)(AILayerHandle layer, AIBoolean* hasSel);
    /* Fills *child with the topmost sublayer, or null when the layer has none. */
    AIErr (*GetLayerFirstChild)(AILayerHandle layer, AILayerHandle* child);
    /* Fills *parent with the enclosing layer, or null for a top-level layer. */
    AIErr (*GetLayerParent)(AILayerHandle layer, AILayerHandle* parent);
    /* Fills *next with the next layer in preorder (sublayers before the next sibling), or null after the last. */
    AIErr (*GetNextPreorderLayer)(AILayerHandle layer, AILayerHandle* next);
} AILayerSuite;

/* ---------------------------------------------------------------- Art */
#define kAIArtSuite "AI Art Suite"
#define kAIArtSuiteVersion 1016
typedef struct AIArtSuite {
    /* Creates empty art of the type (group, path or compound path) placed by paintOrder relative to prep
     * (null prep: in the current layer). Fills *newArt; kBadParameterErr and null when it cannot be placed. */
    AIErr (*NewArt)(int16_t type, int16_t paintOrder, AIArtHandle prep, AIArtHandle* newArt);
    /* Deletes the art and everything inside it; the handle is dead afterwards. kBadParameterErr for a dead handle. */
    AIErr (*DisposeArt)(AIArtHandle art);
    /* Moves the art to the place given by paintOrder and prep. kBadParameterErr when the move cannot be made. */
    AIErr (*ReorderArt)(AIArtHandle thisArt, int16_t paintOrder, AIArtHandle prep);
    /* Copies the art (with its members, style and attributes) to the place given by paintOrder and prep,
     * which may lie in another layer. Fills *newArt; kBadParameterErr and null on failure. */
    AIErr (*DuplicateArt)(AIArtHandle thisArt, int16_t paintOrder, AIArtHandle prep, AIArtHandle* newArt);
    /* Fills *art with the layer's own group (the container of its art). */
    AIErr (*GetFirstArtOfLayer)(AILayerHandle layer, AIArtHandle* art);
    /* Fills *layer with the layer holding the art. */
    AIErr (*GetLayerOfArt)(AIArtHandle art, AILayerHandle* layer);
    /* Fills *type with the art type (kGroupArt, kPathArt, ...). */
    AIErr (*GetArtType)(AIArtHandle art, int16_t* type);
    /* Fills *attr with the user attributes of the art masked by whichAttr. */
    AIErr (*GetArtUserAttr)(AIArtHandle art, int32_t whichAttr, int32_t* attr);
    /* Sets the attributes in whichAttr to those of attr. */
    AIErr (*SetArtUserAttr)(AIArtHandle art, int32_t whichAttr, int32_t attr);
    /* Fills *parent with the enclosing group or compound path, or null for a layer's own group. */
    AIErr (*GetArtParent)(AIArtHandle art, AIArtHandle* parent);
    /* Fills *child with the topmost member, or null when the art has none. */
    AIErr (*GetArtFirstChild)(AIArtHandle art, AIArtHandle* child);
    /* Fills *child with the bottommost member, or null. */
    AIErr (*GetArtLastChild)(AIArtHandle art, AIArtHandle* child);
    /* Fills *sibling with the next member below in the same container, or null. */
    AIErr (*GetArtSibling)(AIArtHandle art, AIArtHandle* sibling);
    /* Fills *sibling with the member above in the same container, or null. */
    AIErr (*GetArtPriorSibling)(AIArtHandle art, AIArtHandle* sibling);
    /* Fills *bounds with the geometric bounds (control points of curves included); an empty rect for empty art. */
    AIErr (*GetArtBounds)(AIArtHandle art, AIRealRect* bounds);
    /* Fills *hasFill with whether the art is filled (a compound path: its first member path). */
    AIErr (*ArtHasFill)(AIArtHandle art, AIBoolean* hasFill);
    /* Fills *hasStroke with whether the art is stroked (a compound path: its first member path). */
    AIErr (*ArtHasStroke)(AIArtHandle art, AIBoolean* hasStroke);
    /* Fills *equal with whether the two have the same path geometry (segments and closed flag). */
    AIErr (*ArtsHaveEqualPaths)(AIArtHandle art1, AIArtHandle art2, AIBoolean* equal);
    /* Fills *valid with whether the handle names live art of the current document. */
    AIErr (*ValidArt)(AIArtHandle art, AIBoolean* valid);
} AIArtSuite;

/* ---------------------------------------------------------------- Paths */
typedef struct AIPathSegment {
    AIRealPoint p;   /* anchor */
    AIRealPoint in;  /* control point towards the previous anchor */
    AIRealPoint out; /* control point towards the next anchor */
    AIBoolean corner;
} AIPathSegment;

#define kAIPathSuite "AI Path Suite"
#define kAIPathSuiteVersion 1010
/* Compound paths answer the path queries through their first member path. */
typedef struct AIPathSuite {
    /* Copies count segments from index segNumber into segments; kIndexOutOfRangeErr when the range does not fit. */
    AIErr (*GetPathSegments)(AIArtHandle path, int16_t segNumber, int16_t count, AIPathSegment* segments);
    /* Overwrites count segments from segNumber; writing at the current count appends. kIndexOutOfRangeErr past that. */
    AIErr (*SetPathSegments)(AIArtHandle path, int16_t segNumber, int16_t count, const AIPathSegment* segments);
    /* Inserts count segments directly after the segment at segNumber (segNumber -1: at the front). */
    AIErr (*InsertPathSegments)(AIArtHandle path, int16_t segNumber, int16_t count, const AIPathSegment* segments);
    /* Removes count segments starting at segNumber; kIndexOutOfRangeErr when the range does not fit. */
    AIErr (*DeletePathSegments)(AIArtHandle path, int16_t segNumber, int16_t count);
    /* Fills *count with the number of segments. */
    AIErr (*GetPathSegmentCount)(AIArtHandle path, int16_t* count);
    /* Grows (with anchors at the origin) or shrinks the path to count segments; kBadParameterErr for a negative count. */
    AIErr (*SetPathSegmentCount)(AIArtHandle path, int16_t count);
    /* Fills *closed with the closed flag. */
    AIErr (*GetPathClosed)(AIArtHandle path, AIBoolean* closed);
    /* Sets the closed flag. */
    AIErr (*SetPathClosed)(AIArtHandle path, AIBoolean closed);
    /* Reverses the segment order (and swaps each segment's in and out), so the first anchor becomes the last. */
    AIErr (*ReversePathSegments)(AIArtHandle path);
} AIPathSuite;

/* ---------------------------------------------------------------- Path styles */
enum { kGrayColor = 0, kFourColor = 1, kPattern = 2, kCustomColor = 3, kGradient = 4, kThreeColor = 5, kNoneColor = 6 };

typedef struct AIGrayColorStyle {
    AIReal gray;
} AIGrayColorStyle;
typedef struct AIFourColorStyle {
    AIReal cyan, magenta, yellow, black;
} AIFourColorStyle;
typedef struct AIThreeColorStyle {
    AIReal red, green, blue;
} AIThreeColorStyle;
typedef struct AICustomColorStyle {
    AICustomColorHandle color;
    AIReal tint;
} AICustomColorStyle;
typedef struct AIPatternStyle {
    AIPatternHandle pattern;
    AIReal shiftDist, shiftAngle;
    AIRealPoint scale;
    AIReal rotate;
    AIBoolean reflect;
    AIReal reflectAngle, shearAngle, shearAxis;
    AIRealMatrix transform;
} AIPatternStyle;
typedef struct AIGradientStyle {
    AIGradientHandle gradient;
    AIRealPoint gradientOrigin;
    AIReal gradientAngle, gradientLength;
    AIRealMatrix matrix;
    AIReal hiliteAngle, hiliteLength;
} AIGradientStyle;
typedef union AIColorUnion {
    AIGrayColorStyle g;
    AIFourColorStyle f;
    AIThreeColorStyle rgb;
    AICustomColorStyle c;
    AIPatternStyle p;
    AIGradientStyle b;
} AIColorUnion;
/* The host zeroes the whole union before it fills the member of the kind. */
typedef struct AIColor {
    int16_t kind;
    AIColorUnion c;
} AIColor;

#define kMaxDashComponents 6
typedef struct AIDashStyle {
    int16_t length;
    AIReal offset;
    AIReal array[kMaxDashComponents];
} AIDashStyle;
typedef struct AIFillStyle {
    AIColor color;
    AIBoolean overprint;
} AIFillStyle;
typedef struct AIStrokeStyle {
    AIColor color;
    AIBoolean overprint;
    AIReal width;
    AIDashStyle dash;
    int16_t cap;  /* 0 butt, 1 round, 2 projecting */
    int16_t join; /* 0 miter, 1 round, 2 bevel */
    AIReal miterLimit;
} AIStrokeStyle;
typedef struct AIPathStyle {
    AIBoolean fillPaint;
    AIBoolean strokePaint;
    AIFillStyle fill;
    AIStrokeStyle stroke;
    AIBoolean clip;
    AIBoolean lockClip;
    AIBoolean evenodd;
    AIReal resolution;
} AIPathStyle;

#define kAIPathStyleSuite "AI Path Style Suite"
#define kAIPathStyleSuiteVersion 1012
typedef struct AIPathStyleSuite {
    /* Fills *style with the art's path style (a compound path: its first member's); kBadParameterErr for other art. */
    AIErr (*GetPathStyle)(AIArtHandle art, AIPathStyle* style);
    /* Replaces the art's path style (a compound path: every member's); the art style follows it. */
    AIErr (*SetPathStyle)(AIArtHandle art, const AIPathStyle* style);
} AIPathStyleSuite;

/* ---------------------------------------------------------------- Art styles */
#define kAIArtStyleSuite "AI Art Style Suite"
#define kAIArtStyleSuiteVersion 1006
typedef struct AIArtStyleSuite {
    /* Fills *artStyle with the art's appearance handle; equal appearances share one handle. */
    AIErr (*GetArtStyle)(AIArtHandle art, AIArtStyleHandle* artStyle);
    /* Gives the art the appearance of artStyle. */
    AIErr (*SetArtStyle)(AIArtHandle art, AIArtStyleHandle artStyle);
    /* Fills *same with whether the two appearances are the same; kBadParameterErr for an unknown handle. */
    AIErr (*CompareArtStyles)(AIArtStyleHandle artStyle1, AIArtStyleHandle artStyle2, AIBoolean* same);
} AIArtStyleSuite;

/* ---------------------------------------------------------------- Art sets */
#define kAIArtSetSuite "AI Art Set Suite"
#define kAIArtSetSuiteVersion 1007
/* An art set is an ordered list of art handles owned by the caller until DisposeArtSet. */
typedef struct AIArtSetSuite {
    /* Fills *artSet with a new empty set; kOutOfMemoryErr on exhaustion. */
    AIErr (*NewArtSet)(AIArtSet* artSet);
    /* Frees the set (not the art) and nulls *artSet. */
    AIErr (*DisposeArtSet)(AIArtSet* artSet);
    /* Fills *count with the number of members. */
    AIErr (*CountArtSet)(AIArtSet artSet, int32_t* count);
    /* Fills *art with the member at index; kIndexOutOfRangeErr and null past the end. */
    AIErr (*IndexArtSet)(AIArtSet artSet, int32_t index, AIArtHandle* art);
    /* Appends to the set the layer's own group and then every art inside it, in preorder (topmost first). */
    AIErr (*LayerArtSet)(AILayerHandle layer, AIArtSet artSet);
    /* Appends, in document preorder, every selected art and every container that holds selected art. */
    AIErr (*SelectedArtSet)(AIArtSet artSet);
    /* Removes the first occurrence of art; later members move down one index. */
    AIErr (*RemoveArtFromArtSet)(AIArtSet artSet, AIArtHandle art);
    /* Appends art unless it is already a member. */
    AIErr (*AddArtToArtSet)(AIArtSet artSet, AIArtHandle art);
} AIArtSetSuite;

/* ---------------------------------------------------------------- Matching art */
#define kAIMatchingArtSuite "AI Matching Art Suite"
#define kAIMatchingArtSuiteVersion 1006
typedef struct AIMatchingArtSuite {
    /* Fills *matches with a host block of selected art handles and *numMatches; free it with the blocks suite. */
    AIErr (*GetSelectedArt)(AIArtHandle** matches, int32_t* numMatches);
} AIMatchingArtSuite;

/* ---------------------------------------------------------------- Pathfinder */
typedef struct AIPathfinderOptions {
    AIReal ipmPrecision;
    AIBoolean removeRedundantPoints;
    AIBoolean extractUnpaintedArtwork;
} AIPathfinderOptions;
typedef struct AIPathfinderData {
    AIArtHandle* fSelectedArt; /* the art to work on, in the caller's order */
    int32_t fSelectedArtCount;
    AIPathfinderOptions fOptions;
} AIPathfinderData;

#define kAIPathfinderSuite "AI Pathfinder Suite"
#define kAIPathfinderSuiteVersion 1005
typedef struct AIPathfinderSuite {
    /* Replaces a compound path by the even-odd union of its members, in place; kBadParameterErr otherwise. */
    AIErr (*DoExcludeEffect)(AIPathfinderData* data);
    /* Replaces the frontmost art by itself minus everything the art behind it covers, each piece styled like the
     * frontmost and placed where it was, and deletes the rest; kEmptyResultErr and nothing left when empty. */
    AIErr (*DoBackMinusFrontEffect)(AIPathfinderData* data);
} AIPathfinderSuite;

/* ---------------------------------------------------------------- Transform */
#define kAITransformArtSuite "AI Transform Art Suite"
#define kAITransformArtSuiteVersion 1002
typedef struct AITransformArtSuite {
    /* Applies the matrix to every anchor and control point of the art. */
    AIErr (*TransformArt)(AIArtHandle art, const AIRealMatrix* matrix, AIReal lineScale, int32_t flags);
} AITransformArtSuite;

AIAPI_END

#endif
