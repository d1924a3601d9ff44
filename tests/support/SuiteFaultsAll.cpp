// Every call of every suite, listed by hand: C++ cannot walk the members of a table.
#include "SuiteFaults.h"

namespace testsupport {

void SuiteFaults::WrapAll() {
    WrapSuite<AIUnicodeStringSuite, &AIUnicodeStringSuite::Initialize, &AIUnicodeStringSuite::Destroy,
              &AIUnicodeStringSuite::SetFromBytes, &AIUnicodeStringSuite::SetFromUTF16,
              &AIUnicodeStringSuite::GetToBuffer, &AIUnicodeStringSuite::GetUTF16, &AIUnicodeStringSuite::Length,
              &AIUnicodeStringSuite::Compare, &AIUnicodeStringSuite::Append, &AIUnicodeStringSuite::Assign>();
    WrapSuite<AIFilePathSuite, &AIFilePathSuite::Initialize, &AIFilePathSuite::Destroy, &AIFilePathSuite::Set,
              &AIFilePathSuite::GetFullPath, &AIFilePathSuite::GetDirectory, &AIFilePathSuite::GetFileName,
              &AIFilePathSuite::Exists, &AIFilePathSuite::Copy>();
    WrapSuite<AIFoldersSuite, &AIFoldersSuite::FindFolder>();
    WrapSuite<AIMenuSuite, &AIMenuSuite::AddMenuItem, &AIMenuSuite::AddMenuGroupAsSubMenu,
              &AIMenuSuite::CountMenuGroups, &AIMenuSuite::GetNthMenuGroup, &AIMenuSuite::GetMenuGroupName,
              &AIMenuSuite::GetItemText, &AIMenuSuite::GetMenuItemPlugin>();
    WrapSuite<AIPanelFlyoutMenuSuite, &AIPanelFlyoutMenuSuite::Create, &AIPanelFlyoutMenuSuite::Destroy>();
    WrapSuite<AIPanelSuite, &AIPanelSuite::IsShown>();
    WrapSuite<AINotifierSuite, &AINotifierSuite::AddNotifier, &AINotifierSuite::SetNotifierActive>();
    WrapSuite<AIAppContextSuite, &AIAppContextSuite::PushAppContext, &AIAppContextSuite::PopAppContext>();
    WrapSuite<AIUserSuite, &AIUserSuite::ErrorAlert, &AIUserSuite::MessageAlert, &AIUserSuite::YesNoAlert,
              &AIUserSuite::GetDirectoryDialog>();
    WrapSuite<AIModalParentSuite, &AIModalParentSuite::GetModalParent>();
    WrapSuite<AIActionManagerSuite, &AIActionManagerSuite::AINewActionParamValue,
              &AIActionManagerSuite::AIDeleteActionParamValue, &AIActionManagerSuite::AIActionSetInteger,
              &AIActionManagerSuite::AIActionSetReal, &AIActionManagerSuite::AIActionSetBoolean,
              &AIActionManagerSuite::AIActionSetStringUS, &AIActionManagerSuite::AIActionGetInteger,
              &AIActionManagerSuite::AIActionGetReal, &AIActionManagerSuite::AIActionGetBoolean,
              &AIActionManagerSuite::AIActionGetStringUS, &AIActionManagerSuite::PlayActionEvent>();
    WrapSuite<AIFilterSuite, &AIFilterSuite::CountFilters>();
    WrapSuite<AIToolSuite, &AIToolSuite::GetSelectedTool>();
    WrapSuite<AIRealMathSuite, &AIRealMathSuite::AIRealEqual, &AIRealMathSuite::AIRealPointLength>();
    WrapSuite<AIRandomSuite, &AIRandomSuite::FloatRnd, &AIRandomSuite::SetRndSeed>();
    WrapSuite<AIMdMemorySuite, &AIMdMemorySuite::MdMemoryNewHandle, &AIMdMemorySuite::MdMemoryDisposeHandle>();
    WrapSuite<AIStringFormatUtilsSuite, &AIStringFormatUtilsSuite::RealToString>();
    WrapSuite<AILayerSuite, &AILayerSuite::CountLayers, &AILayerSuite::GetNthLayer, &AILayerSuite::GetCurrentLayer,
              &AILayerSuite::SetCurrentLayer, &AILayerSuite::GetFirstLayer, &AILayerSuite::GetNextLayer,
              &AILayerSuite::GetPrevLayer, &AILayerSuite::GetLayerByTitle, &AILayerSuite::InsertLayer,
              &AILayerSuite::DeleteLayer, &AILayerSuite::GetLayerTitle, &AILayerSuite::SetLayerTitle,
              &AILayerSuite::GetLayerVisible, &AILayerSuite::SetLayerVisible, &AILayerSuite::GetLayerPreview,
              &AILayerSuite::SetLayerPreview, &AILayerSuite::GetLayerEditable, &AILayerSuite::SetLayerEditable,
              &AILayerSuite::GetLayerPrinted, &AILayerSuite::SetLayerPrinted, &AILayerSuite::GetLayerDimPlacedImages,
              &AILayerSuite::SetLayerDimPlacedImages, &AILayerSuite::GetLayerIsTemplate,
              &AILayerSuite::SetLayerIsTemplate, &AILayerSuite::LayerHasArt, &AILayerSuite::LayerHasSelectedArt,
              &AILayerSuite::GetLayerFirstChild, &AILayerSuite::GetLayerParent, &AILayerSuite::GetNextPreorderLayer>();
    WrapSuite<AIArtSuite, &AIArtSuite::NewArt, &AIArtSuite::DisposeArt, &AIArtSuite::ReorderArt,
              &AIArtSuite::DuplicateArt, &AIArtSuite::GetFirstArtOfLayer, &AIArtSuite::GetLayerOfArt,
              &AIArtSuite::GetArtType, &AIArtSuite::GetArtUserAttr, &AIArtSuite::SetArtUserAttr,
              &AIArtSuite::GetArtParent, &AIArtSuite::GetArtFirstChild, &AIArtSuite::GetArtLastChild,
              &AIArtSuite::GetArtSibling, &AIArtSuite::GetArtPriorSibling, &AIArtSuite::GetArtBounds,
              &AIArtSuite::ArtHasFill, &AIArtSuite::ArtHasStroke, &AIArtSuite::ArtsHaveEqualPaths,
              &AIArtSuite::ValidArt>();
    WrapSuite<AIPathSuite, &AIPathSuite::GetPathSegments, &AIPathSuite::SetPathSegments,
              &AIPathSuite::InsertPathSegments, &AIPathSuite::DeletePathSegments, &AIPathSuite::GetPathSegmentCount,
              &AIPathSuite::SetPathSegmentCount, &AIPathSuite::GetPathClosed, &AIPathSuite::SetPathClosed,
              &AIPathSuite::ReversePathSegments>();
    WrapSuite<AIPathStyleSuite, &AIPathStyleSuite::GetPathStyle, &AIPathStyleSuite::SetPathStyle>();
    WrapSuite<AIArtStyleSuite, &AIArtStyleSuite::GetArtStyle, &AIArtStyleSuite::SetArtStyle,
              &AIArtStyleSuite::CompareArtStyles>();
    WrapSuite<AIArtSetSuite, &AIArtSetSuite::NewArtSet, &AIArtSetSuite::DisposeArtSet, &AIArtSetSuite::CountArtSet,
              &AIArtSetSuite::IndexArtSet, &AIArtSetSuite::LayerArtSet, &AIArtSetSuite::SelectedArtSet,
              &AIArtSetSuite::RemoveArtFromArtSet, &AIArtSetSuite::AddArtToArtSet>();
    WrapSuite<AIMatchingArtSuite, &AIMatchingArtSuite::GetSelectedArt>();
    WrapSuite<AIPathfinderSuite, &AIPathfinderSuite::DoExcludeEffect, &AIPathfinderSuite::DoBackMinusFrontEffect>();
    WrapSuite<AITransformArtSuite, &AITransformArtSuite::TransformArt>();
    WrapSuite<AIDocumentSuite, &AIDocumentSuite::GetDocument, &AIDocumentSuite::GetDocumentSetup,
              &AIDocumentSuite::SetDocumentSetup, &AIDocumentSuite::GetDocumentColorModel,
              &AIDocumentSuite::GetDocumentModified, &AIDocumentSuite::SetDocumentModified,
              &AIDocumentSuite::GetDocumentFileSpecification>();
    WrapSuite<AIDocumentListSuite, &AIDocumentListSuite::Count, &AIDocumentListSuite::GetNthDocument,
              &AIDocumentListSuite::New, &AIDocumentListSuite::Open, &AIDocumentListSuite::Save,
              &AIDocumentListSuite::Close, &AIDocumentListSuite::Activate>();
    WrapSuite<AIUndoSuite, &AIUndoSuite::SetSilent, &AIUndoSuite::UndoChanges, &AIUndoSuite::PurgeAllUndos,
              &AIUndoSuite::SetUndoText>();
    WrapSuite<AIArtboardSuite, &AIArtboardSuite::GetArtboardList, &AIArtboardSuite::ReleaseArtboardList,
              &AIArtboardSuite::GetCount, &AIArtboardSuite::GetActive, &AIArtboardSuite::GetArtboardProperties,
              &AIArtboardSuite::InitArtboardProperties, &AIArtboardSuite::DisposeArtboardProperties,
              &AIArtboardSuite::GetPosition>();
    WrapSuite<AIArtboardRangeSuite, &AIArtboardRangeSuite::GetCount>();
    WrapSuite<AILegacyTextConversionSuite, &AILegacyTextConversionSuite::ConvertAllToNative>();
    WrapSuite<AIDocumentViewSuite, &AIDocumentViewSuite::GetDocumentViewZoom,
              &AIDocumentViewSuite::GetDocumentViewCenter>();
    WrapSuite<SPAccessSuite, &SPAccessSuite::AcquirePlugin, &SPAccessSuite::ReleasePlugin,
              &SPAccessSuite::GetPluginAccessCount>();
    WrapSuite<SPPluginsSuite, &SPPluginsSuite::SetPluginName, &SPPluginsSuite::GetPluginName,
              &SPPluginsSuite::GetPluginFilePath>();
    WrapSuite<SPBlocksSuite, &SPBlocksSuite::AllocateBlock, &SPBlocksSuite::FreeBlock,
              &SPBlocksSuite::ReallocateBlock>();
}

}  // namespace testsupport
