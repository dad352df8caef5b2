#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// The numbers of the language-file lines the program shows.
enum class TextId : int {
    Description = 2,
    FileMenu = 3,
    OpenPhoto = 4,
    PrintPhoto = 5,
    Exit = 6,
    Donate = 7,
    HelpMenu = 8,
    ReleaseNotes = 9,
    Info = 10,
    AboutTitle = 11,
    DropPhotoHere = 12,
    PhotoTooSmall = 13,
    MessageTitle = 14,
    NothingToPrint = 15,
    HomePage = 16,
    Language = 17,
    LanguageDialogTitle = 18,
    LanguageFilter = 19,
    PhotoFilter = 21,
    PhotoDialogTitle = 22,
    Tagline = 23,
    OptionsMenu = 24,
    AddLanguage = 25,
    CheckUpdate = 26,
    DonateHint = 27,
    Cancel = 29,
    Printer = 32,
    Orientation = 33,
    Quality = 34,
    Copies = 35,
    Print = 36,
    ExportDialogTitle = 37,
    FileExists = 38,
    ReplaceQuestion = 39,
    SheetSaved = 40,
    SheetNotSavedAs = 41,
    ExportFinished = 42,
    ExportFailed = 43,
    NoteSmallPage = 44,
    NoteLargePage = 45,
    UpdateTitle = 46,
    UpdateQuestion = 47,
    ExportMenu = 48,
    NothingToExport = 49,
    NotAPhoto = 50,
    PhotoTooLarge = 51,
    PrintFailed = 52,
    SheetNotWritten = 53,
    QualityHigh = 54,
    QualityMedium = 55,
    QualityLow = 56,
    QualityDraft = 57,
    Printing = 58,
    NoPrinter = 59,
    TooManyCopies = 60,
    NoPhotoToPrint = 61,
    ResetFit = 62,
    Undo = 63,
    FitToFace = 64,
    AutoFaceFit = 65,
    NoSingleFace = 66,
    ResolutionNote = 67,
    SettingsNotSaved = 68,
    UnknownPaper = 69,
    AreaLargerThanPaper = 70,
    NoCopyFits = 71,
    PrintingSystemSilent = 72,
    ExportInstead = 73,
    FormatMenu = 74,
    ChecksPassed = 75,
    HeadTilted = 76,
    FaceTooDark = 78,
    FaceTooBright = 79,
    FaceLitFromOneSide = 80,
    FaceNearEdge = 83,
    StraightenHead = 84,
    FaceTurned = 85,
    OnlineCopyMenu = 86,
    OnlineCopySize = 87,
    OnlineCopyLimitUnreachable = 89,
    PhotoSaved = 91,
    PhotoNotWritten = 92,
    Redo = 93,
    // The steps of the fit's history, named after the undo command.
    ZoomStep = 94,
    MoveStep = 95,
    ResetStep = 96,
    FitToFaceStep = 97,
    StraightenStep = 98,
    HeadMarkStep = 99,
    // The measured head and the checks with the offices' limits.
    HairTopMark = 101,
    CrownMark = 102,
    HeadTopNotFound = 103,
    HeadTurned = 104,
    HeadRaised = 105,
    HeadLowered = 106,
    MouthOpen = 107,
    TeethShowing = 108,
    EyesLookClosed = 109,
    BackgroundUneven = 110,
    BackgroundDarkMeasured = 111,
    BackgroundColoured = 112,
    HeadToCrown = 113,
    HeadToHair = 114,
    CrownPlace = 115,
    EyeLinePlace = 116,
    NoRoomAboveHead = 117,
    OnlineCopyOwnPixels = 118,
    OnlineCopyEnlarged = 119,
    OnlineCopyLimitKB = 120,
    ColourProfileUnusable = 121,
    FaceTooSmallToMeasure = 122,
    // Documents: the offices' table and the user's own sizes.
    DocumentMenu = 131,
    DocumentDialogTitle = 132,
    DocumentFilterHint = 133,
    CountryColumn = 134,
    DocumentColumn = 135,
    SizeColumn = 136,
    HeadColumn = 137,
    BackgroundColumn = 138,
    PassportKindName = 139,
    VisaKindName = 140,
    IdCardKindName = 141,
    DrivingLicenceKindName = 142,
    OnlineKindName = 143,
    SourceLabel = 144,
    RulesAsOf = 145,
    CustomSizeMenu = 146,
    WidthLabel = 147,
    HeightLabel = 148,
    HeadRangeFrom = 149,
    HeadRangeTo = 150,
    HeadToCrownRule = 151,
    HeadToHairRule = 152,
    PrintsTaken = 153,
    NoPrintsTaken = 154,
    FilePixelsWide = 155,
    FileAtMostKb = 156,
    FileAtLeastKb = 157,
    NoPrintsOfferOnlineCopy = 158,
    CustomSizeRefused = 159,
    BackgroundWhiteForbidden = 160,
    CustomSizeTitle = 161,
    NoDocumentMatches = 162,
    ChooseDocument = 163,
    OnlineCopyUnderLowerLimit = 164,
    SeveralFaces = 165,
    BackgroundMenu = 166,
    BackgroundAsShot = 167,
    BackgroundToWhite = 168,
    BackgroundToLightGrey = 169,
    BackgroundToDocument = 170,
    // Why the wall cannot be replaced, and why it cannot be continued beyond the photo.
    ReplacementNotPlain = 171,
    ReplacementLikePerson = 172,
    ReplacementTooLittleWall = 173,
    ReplacementNoFace = 174,
    NoRoomWallNotPlain = 175,
    NoRoomHairAtEdge = 176,
    NoRoomWallLikeHair = 177,
    PhotoExtended = 178,
    BackgroundStep = 179,
    NoRoomAroundHead = 180,
    // Why a print failed, beyond lines 59-61 and 69-71.
    PrinterStopped = 186,
    PrintingSystemError = 187,
    PrintServerSilent = 188,
    PrintingNotAnswered = 189,
    PrintingNotAnsweredJobMayPrint = 190,
    NoPrinterNamed = 191,
    NoTemporaryPrintFile = 192,
    NoPaperSize = 193,
    PhotosBeyondPrintableArea = 194,
    PageLayoutRefused = 195,
    PageNotWritten = 196,
    OnlineCopySizeWritten = 197,
};

// The interface texts: entry k (1-200) is line k of the current language file without its
// three-character prefix ("01 ", "99 ", "100", "101"). Entries beyond the last line of a newer file
// keep older texts.
class TextTable
{
public:
    static constexpr int LastEntry = 200;
    static constexpr int PrefixLength = 3;
    // The longest shipped line has about 250 characters; a longer one is garbage.
    static constexpr qsizetype MaximumLine = 1024;
    // Language files of the first versions end before this line.
    static constexpr int FirstLaterLine = 50;

    // The text of line k as some language file gave it, an empty one too. A line from
    // FirstLaterLine on that no file has given (one made before the line existed) is the
    // built-in English text; an earlier one stays empty, as such files always have it.
    QString text(int k) const;
    QString text(TextId id) const { return text(int(id)); }
    // Whether some language file has given line k.
    bool has(int k) const;
    void setText(int k, const QString &text);
    // Lines shorter than the prefix or longer than MaximumLine leave their entry unchanged;
    // lines after 200 are ignored.
    void applyLines(const QStringList &lines);

private:
    std::array<std::optional<QString>, LastEntry + 1> m_entries;
};
